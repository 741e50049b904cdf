#pragma once

#include "framework/ui/Canvas.h"
#include "framework/ui/EditField.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/TabPanel.h"
#include "framework/ui/Window.h"

// The find and replace window: a "Find" and a "Replace" tab, whose buttons
// run the find routine of the document window behind it and then close it.
// Its state is its controls'; once closed it is gone.
class FindWindow : public fw::Window {
public:
    static constexpr const char* kClassName = "FindWindow.FindWindow";
    std::string ClassName() const override { return kClassName; }

    // The controls, found by name at every use.
    fw::TabPanel* TabPanel1() const { return Control<fw::TabPanel>("TabPanel1"); }
    fw::StaticText* StaticText1() const { return Control<fw::StaticText>("StaticText1"); }
    fw::EditField* EditField1() const { return Control<fw::EditField>("EditField1"); }
    fw::PushButton* FindButton() const { return Control<fw::PushButton>("FindButton"); }
    fw::PushButton* CancelButton() const { return Control<fw::PushButton>("CancelButton"); }
    fw::StaticText* StaticText2() const { return Control<fw::StaticText>("StaticText2"); }
    fw::EditField* SearchText() const { return Control<fw::EditField>("SearchText"); }
    fw::StaticText* StaticText3() const { return Control<fw::StaticText>("StaticText3"); }
    fw::EditField* ReplaceText() const { return Control<fw::EditField>("ReplaceText"); }
    fw::PushButton* ReplaceButton() const { return Control<fw::PushButton>("ReplaceButton"); }
    fw::PushButton* CancelReplace() const { return Control<fw::PushButton>("CancelReplace"); }
    fw::Canvas* Canvas1() const { return Control<fw::Canvas>("Canvas1"); }

    void Layout() override;
    void CreateControls() override;
    void CreateControls0();

    // The search text follows the user to the tab shown.
    void TabPanel1_Change();
    // Each tab's button is enabled while its search field holds text.
    void EditField1_TextChange();
    void SearchText_TextChange();
    void FindButton_Action();
    void ReplaceButton_Action();
    void CancelButton_Action();
    void CancelReplace_Action();
    bool Canvas1_MouseDown(int x, int y);

private:
    // Runs the find routine of the document window directly behind this one,
    // when there is one, then closes this window.
    void SearchBehind(const std::string& searchText, const std::string& replacement);
};

// Registers the class with the framework, once, so that the document window
// can ask for its shared instance by class name.
void SetUpFindWindowClass();

// The shared instance: the open one, or a new one made and shown.
class FindWindow* FindWindow();
