// Standard controls over the system's window classes, and the label.
#pragma once
#include "toolkit/Controls.h"
#include "toolkit/pure/StringList.h"
#include "toolkit/pure/TextLines.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A text drawn on its parent; a carriage return breaks it into lines.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    bool Transparent = true;
    bool WordWrap = false;
    bool ShowAccelChar = true;            // "&&" shows one ampersand, "&x" underlines x
    TAlignment Alignment = taLeftJustify;
protected:
    void Paint() override;
    void TextChanged() override;
};

class TButtonControl : public TWinControl {
public:
    using TWinControl::TWinControl;
protected:
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);
    int ModalResult = 0;                  // closes a modal form with this result when clicked
protected:
    const char* ClassName() const override { return "TButton"; }
    void CreateParams(TCreateParams& p) override;
    void Click() override;
};

// A check box. Setting Checked from code runs the click event, as a click would; the program
// sets a box quietly through SetCheckedQuietly.
class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return FChecked; }
    void SetChecked(bool c);
    void SetCheckedQuietly(bool c);
    bool WordWrap = false;                // the caption breaks into lines within the width; set before the handle
protected:
    const char* ClassName() const override { return "TCheckBox"; }
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    bool FChecked = false;
    bool FRadio = false;
};

class TRadioButton : public TCheckBox {
public:
    explicit TRadioButton(TComponent* owner);
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
protected:
    void CreateParams(TCreateParams& p) override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    const std::string& Text();              // what the user typed
    TNotifyEvent OnChange;
    int MaxLength = 0;                      // characters the user may type; 0: no limit of ours
protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent = TEvent<TObject*, int, TRect, TOwnerDrawState>;

// A list of lines, each with a text and an object. Lines are handed over as a whole with
// SetLines (one redraw), or one by one. An owner-drawn list can show only some of its lines.
class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    TListBoxStyle Style = lbStandard;
    int ItemHeight = 13;
    TCanvas Canvas;
    TDrawItemEvent OnDrawItem;

    int Count() const;
    std::string Strings(int i) const;
    TObject* Objects(int i) const;
    int AddItem(const std::string& s, TObject* o);
    void DeleteItem(int i);
    void Clear();
    void SetLines(const TStringList& lines);
    void SetLines(std::vector<std::pair<std::string, TObject*>>&& lines);
    void SetLines(TTextLines&& lines);      // takes the lines over
    int ItemIndex() const;
    void SetItemIndex(int i);
    int TopIndex() const;
    TRect ItemRect(int i) const;
    int ItemAtPos(TPoint p, bool existing) const;
    // Raises OnClick now if the selection differs from the one last told of. Wine's list
    // tells of a selection made by a press only at the release, which a drag started at the
    // press takes for itself.
    void ReportSelection();
    // An owner-drawn list's lines, shown or not.
    int LineCount() const { return static_cast<int>(FLines.Count()); }
    std::string_view LineText(int line) const { return FLines.Text(line); }
    TObject* LineObject(int line) const { return FLines.Object(line); }
    // Shows only the given lines of an owner-drawn list (indexes among all its lines,
    // ascending), in one redraw. Count, Strings, Objects, DeleteItem, AddItem, the selection and
    // other programs' LB_GETTEXT then speak of the lines shown; the selected line stays
    // selected if it is among them. ShowAll, SetLines and Clear show every line again.
    void ShowOnly(std::vector<int>&& lines);
    void ShowAll();
    bool ShowsAll() const { return !FFiltered; }
protected:
    const char* ClassName() const override { return "TListBox"; }
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    // Draws one line: the default fills the background and writes the text.
    virtual void DrawItem(int index, TRect r, TOwnerDrawState state);
    // Paints the line's background before the line's own drawing (the wallpaper list box
    // puts its picture here).
    virtual void DrawItemBackground(int index, TRect r, TOwnerDrawState state);
private:
    // The lines of an owner-drawn list, whose window only counts them; of another list, the
    // lines given before its window exists.
    // The line the last click told of: the system's list reports a click on the line already
    // selected as a change too (under Wine), which is none.
    int FClickedIndex = -1;
    // The line under a press while it is told of, before the system's list has selected it.
    int FPressedIndex = -1;
    TTextLines FLines;
    // While only some lines show: their indexes in FLines, ascending.
    bool FFiltered = false;
    std::vector<int> FShown;
    int LineAt(int i) const { return FFiltered ? FShown[i] : i; }
    void Recount(int selectedLine);
    bool KeepsLines() const;
    void SelectByLetter(char c);
};

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    void AddItem(const std::string& s);
    void Clear();
    int Count() const;
    int ItemIndex() const;
    void SetItemIndex(int i);
    TNotifyEvent OnChange;
protected:
    void CreateParams(TCreateParams& p) override;
    void HandleCreated() override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
private:
    std::vector<std::string> FItems;
    int FIndex = -1;
};
