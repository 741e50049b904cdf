#pragma once

#include "framework/ui/TextStyleControl.h"

#include <string>

namespace fw {

// Tabbed pages. Controls that name it as their InitialParent belong to the
// page given by their TabPanelIndex and are shown only while it is the
// current page. Events: Change (the page changed), Open.
class TabPanel : public TextStyleControl {
public:
    explicit TabPanel(Window& window);
    const PropertyTable& Properties() const override;

    // The tab captions, separated by CR.
    const std::string& TabDefinition() const { return definition_; }
    void TabDefinition(const std::string& captions);
    // The current page, 0-based.
    int Value() const;
    void Value(int page);
    bool SmallTabs() const { return smallTabs_; }
    void SmallTabs(bool on) { smallTabs_ = on; }

    void RaiseChange() { RaisePlain("Change"); }

protected:
    bool Accepts(std::string_view event, const EventHandler& handler) const override;

private:
    std::string definition_;
    bool smallTabs_ = false;
};

}  // namespace fw
