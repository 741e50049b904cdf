#pragma once

#include "framework/ui/BevelButton.h"
#include "framework/ui/Canvas.h"
#include "framework/ui/EditField.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Rectangle.h"
#include "framework/ui/StaticText.h"
#include "framework/ui/Window.h"

#include <cstdint>
#include <memory>
#include <string>

// The document window: one per open document. The document is the styled
// text of EditField1.
class Plumora : public fw::Window {
public:
    static constexpr const char* kClassName = "Plumora.Plumora";
    std::string ClassName() const override { return kClassName; }

    // The file the document was opened from or last saved to; none in a new window.
    std::shared_ptr<fw::FolderItem> Document;
    // Whether the text changed since the window was made, opened or saved.
    bool TextHasChanged = false;
    // The plain-text file the document was read from. It is never saved over
    // in the document's format: the first save asks for a file.
    std::shared_ptr<fw::FolderItem> PlainTextSource;

    // The controls, found by name at every use.
    fw::EditField* EditField1() const { return Control<fw::EditField>("EditField1"); }
    fw::EditField* EditField2() const { return Control<fw::EditField>("EditField2"); }
    fw::BevelButton* sizemenu() const { return Control<fw::BevelButton>("sizemenu"); }
    fw::StaticText* StaticText4() const { return Control<fw::StaticText>("StaticText4"); }
    fw::Canvas* Colorbutton() const { return Control<fw::Canvas>("Colorbutton"); }
    fw::StaticText* StaticText3() const { return Control<fw::StaticText>("StaticText3"); }
    fw::BevelButton* underlinebutton() const { return Control<fw::BevelButton>("underlinebutton"); }
    fw::BevelButton* italicbutton() const { return Control<fw::BevelButton>("italicbutton"); }
    fw::BevelButton* BoldButton() const { return Control<fw::BevelButton>("BoldButton"); }
    fw::BevelButton* fontmenu() const { return Control<fw::BevelButton>("fontmenu"); }
    fw::BevelButton* cmnu() const { return Control<fw::BevelButton>("cmnu"); }
    fw::EditField* EditField4() const { return Control<fw::EditField>("EditField4"); }
    fw::EditField* EditField3() const { return Control<fw::EditField>("EditField3"); }
    fw::EditField* EditField5() const { return Control<fw::EditField>("EditField5"); }
    fw::StaticText* StaticText5() const { return Control<fw::StaticText>("StaticText5"); }
    fw::Canvas* BevelButton2() const { return Control<fw::Canvas>("BevelButton2"); }
    fw::Canvas* Canvas4() const { return Control<fw::Canvas>("Canvas4"); }
    fw::Canvas* Canvas2() const { return Control<fw::Canvas>("Canvas2"); }
    fw::Canvas* Canvas3() const { return Control<fw::Canvas>("Canvas3"); }
    fw::Canvas* Canvas8() const { return Control<fw::Canvas>("Canvas8"); }
    fw::Rectangle* Rectangle1() const { return Control<fw::Rectangle>("Rectangle1"); }
    fw::Canvas* Canvas5() const { return Control<fw::Canvas>("Canvas5"); }
    fw::Canvas* Canvas6() const { return Control<fw::Canvas>("Canvas6"); }
    fw::Canvas* Canvas7() const { return Control<fw::Canvas>("Canvas7"); }
    fw::StaticText* StaticText1() const { return Control<fw::StaticText>("StaticText1"); }

    // Set-up, in the order the window is built.
    void Layout() override;
    void CreateControls() override;
    void CreateControls0();
    void Event_Open() override;

    void AddMenuHandlers(fw::Window& window) override;
    void Event_EnableMenuItems() override;
    void Event_Resizing() override;

    // Editing: the dirty flag, the word count, the context menu, the undo snapshot.
    void EditField1_EnableMenuItems();
    void EditField1_TextChange();
    // Formatting is a change to save, as typing is.
    void EditField1_StyleChange();
    bool EditField1_ConstructContextualMenu(fw::MenuItem& base, int x, int y);
    bool EditField1_MouseDown(int x, int y);

    // Closing: the close picture and the save-changes bar's yes, no and cancel.
    bool Canvas8_MouseDown(int x, int y);
    bool Canvas5_MouseDown(int x, int y);
    bool Canvas6_MouseDown(int x, int y);
    bool Canvas7_MouseDown(int x, int y);
    // The desktop's close request takes the road of the close picture.
    void Event_CloseRequest() override;

    // The bottom toolbar. The size and font menus and the style buttons
    // format the selection and follow it when it moves; the swatch shows its
    // colour and opens the colour picker; "Colors" sets the page's background.
    void EditField1_SelChange();
    void sizemenu_Action();
    void sizemenu_Open();
    void fontmenu_Open();
    void fontmenu_Action();
    // The size menu's row to mark for a size: the first row of that number,
    // or -1, which marks none, when no row holds it.
    std::int32_t SetFontSizeMenu(std::int32_t size);
    void Colorbutton_Paint(fw::Graphics& g);
    bool Colorbutton_MouseDown(int x, int y);
    void underlinebutton_Action();
    void italicbutton_Action();
    void BoldButton_Action();
    bool cmnu_MouseDown(int x, int y);
    void cmnu_Open();
    void cmnu_MouseExit();

    // Menu commands; each returns true: handled.
    bool FileSave_Action();
    bool FileSaveas_Action();
    bool FormatLocked_Action();
    bool EditUndo_Action();
    bool EditRedo_Action();
    bool EditPaste_Action();
    bool EditClear_Action();
    bool Formattest_Action();
    bool FilePageSetup_Action();
    bool FilePrint_Action();
    // Bring up the shared find and replace window, the second on its "Replace" tab.
    bool EditFind_Action();
    bool editreplace_Action();

    // Selects the first occurrence of searchText in the document, ignoring
    // case, and replaces it with replacement while the find window shows its
    // "Replace" tab; beeps and tells the user when there is none.
    void Find(const std::string& searchText, const std::string& replacement);

    // Text commands: new windows, case, reverse, alignment, stamps.
    bool newwindow_Action();
    bool EditMakeWebsite_Action();
    bool EditWriteletter_Action();
    bool ChangeCaseUPPERCASE_Action();
    bool ChangeCaselowercase_Action();
    bool ChangeCaseTitleCase_Action();
    bool ChangeCasesreveRReverse_Action();
    bool AlignTextCenter_Action();
    bool AlignTextLeft_Action();
    bool AlignTextRight_Action();
    bool InsertDate_Action();
    bool InsertTime_Action();
    bool InsertDateandTime_Action();

    // Window buttons of the top strip and the View menu: full screen,
    // centre, maximize or restore, minimize.
    bool BevelButton2_MouseDown(int x, int y);
    bool Canvas4_MouseDown(int x, int y);
    bool Canvas2_MouseDown(int x, int y);
    bool Canvas3_MouseDown(int x, int y);
    bool ViewMaximize_Action();
    bool ViewMinimize_Action();

    // Writes the document to its file, asking for one in the save dialog
    // (proposing name) when the window has none or saveAs is true. A
    // cancelled dialog writes nothing; a failed write is told to the user and
    // leaves the file, the title and the dirty flag as they were.
    void SaveFile(const std::string& name, bool saveAs);
    // Where the save dialog starts: name without its surrounding blanks in the
    // document's folder, else the user's documents folder; for a document
    // read from plain text, that file's name with ".rtf" in its folder.
    std::string ProposedSavePath(const std::string& name) const;
    // The title without its surrounding blanks, as the user names the document.
    std::string DocumentName() const;

protected:
    // The characters of s in reverse order, each as a reader sees it.
    std::string Reverse(const std::string& s) const;

protected:
    // The font menu's first row of the font, among as many rows as fonts are
    // installed now; 0 when none holds it.
    std::int32_t SetFontMenu(const std::string& font);

private:
    // A style button pressed: the style toggled on the selection, the
    // button's picture alternated.
    void PressStyleButton(void (fw::EditField::*toggle)(), fw::BevelButton& button);
    // A new document window in front holding the text of the template field.
    void OpenFromTemplate(const fw::EditField* templateField);
    // The selection of the document replaced by change of it.
    void ChangeSelection(std::string (*change)(std::string_view));
    // Styled text reversed by Reverse run by run, the runs and the paragraphs
    // in reverse order, so that each character keeps its format.
    fw::StyledText ReverseRuns(const fw::StyledText& text) const;
    // The document's text followed by one blank and the stamp.
    void AppendStamp(const std::string& stamp);

    // Takes the undo snapshot: the document's text as it is now.
    void TakeSnapshot();

    // This window's page set-up as PrinterSetup's settings string; empty
    // until a page set-up is confirmed, kept while the window lives.
    std::string PageSetup;
    // The text revisions of the document and of the undo snapshot when the
    // snapshot was taken: while neither moved, the snapshot still holds
    // exactly the document's text, and a press need not copy it again.
    unsigned long snapshotOfRevision_ = 0, snapshotRevision_ = 0;
    bool snapshotTaken_ = false;
    // Format > Locked of this window; the menu's check mark shows the front window's.
    bool locked_ = false;
};

// The shared default instance: the open one, or a new one made and built.
class Plumora* Plumora();
