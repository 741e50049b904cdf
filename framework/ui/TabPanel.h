#pragma once

#include "framework/ui/TextStyleControl.h"

#include <string>

namespace fw {

// Tabbed pages. A control that names the panel as its InitialParent lies on
// the page given by its TabPanelIndex: 1 the first tab, 2 the second, and so
// on (0 is the window itself), and is shown only while that tab is. When a
// tab is shown, the keyboard focus goes to the first text field of its page
// in TabIndex order. Events: Change (the page changed, by the user or by
// setting Value from code), Open.
class TabPanel : public TextStyleControl {
public:
    explicit TabPanel(Window& window);
    const PropertyTable& Properties() const override;

    // The tab captions, separated by CR.
    const std::string& TabDefinition() const { return definition_; }
    void TabDefinition(const std::string& captions);
    // The tab shown, 0-based. Setting another tab raises Change before the
    // call returns; setting the tab shown, or one that does not exist, does nothing.
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
