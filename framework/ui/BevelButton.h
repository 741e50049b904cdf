#pragma once

#include "framework/ui/TextStyleControl.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {

class Picture;

// A button with a caption, an icon under it, and optionally a toggle state or
// a pop-up menu of rows. ButtonType 1 makes it a toggle whose Value flips at
// each click; HasMenu 1 or 2 gives it a pop-up menu (2 with the arrow at the
// right). Events: Action (a click, or a row chosen: MenuValue is then that
// row), Open, MouseDown, MouseExit (also when its menu closes with the pointer
// outside the button).
//
// Menu rows and separators are counted together from 0, in the order they
// were added. MenuValue is the marked row, shown checked in the menu; the
// user's choice sets it before Action. Caption is what the button shows,
// whatever row is marked. Setting Caption, MenuValue or Value from the
// program changes only what the button shows and raises no Action. A menu
// button without rows offers no menu and raises no Action.
class BevelButton : public TextStyleControl {
public:
    explicit BevelButton(Window& window);
    ~BevelButton() override;
    const PropertyTable& Properties() const override;

    const std::string& Caption() const { return caption_; }
    void Caption(const std::string& caption);
    const std::shared_ptr<Picture>& Icon() const { return icon_; }
    void Icon(std::shared_ptr<Picture> picture);
    bool Value() const { return value_; }
    void Value(bool on);
    int ButtonType() const { return buttonType_; }
    void ButtonType(int type);
    int HasMenu() const { return hasMenu_; }
    void HasMenu(int kind);
    int Bevel() const { return bevel_; }
    void Bevel(int bevel);
    int CaptionAlign() const { return captionAlign_; }
    void CaptionAlign(int align);
    int IconAlign() const { return iconAlign_; }
    void IconAlign(int align);
    // Whether Tab leads to it; a click never gives it the keyboard focus.
    bool AcceptFocus() const { return acceptFocus_; }
    void AcceptFocus(bool on);

    void AddRow(const std::string& text);
    void AddSeparator();
    void DeleteAllRows();
    int ListCount() const { return static_cast<int>(rows_.size()); }
    // The text of row i; "" for a separator or an index out of range.
    std::string List(int index) const;
    // The marked row; -1 or an index past the rows marks none.
    int MenuValue() const { return menuValue_; }
    void MenuValue(int row) { menuValue_ = row; }

    // A click as the user gives it: MouseDown, then the toggle or the menu,
    // then Action.
    void Press();
    // Picking a row of the menu, as the user does: MenuValue, then Action.
    void ChooseRow(int row);
    const EventHandler* Handler(std::string_view event) const;

protected:
    bool Accepts(std::string_view event, const EventHandler& handler) const override;

private:
    void Repaint();
    void ShowMenu();

    std::string caption_;
    std::shared_ptr<Picture> icon_;
    struct Row {
        std::string text;
        bool separator = false;
    };
    std::vector<Row> rows_;
    int menuValue_ = 0;
    int buttonType_ = 0, hasMenu_ = 0, bevel_ = 0, captionAlign_ = 3, iconAlign_ = 0;
    bool value_ = false, acceptFocus_ = false;
};

}  // namespace fw
