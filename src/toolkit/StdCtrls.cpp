#include "toolkit/StdCtrls.h"
#include <windowsx.h>
#include <algorithm>
#include <cstring>
#include "toolkit/Forms.h"
#include "toolkit/WideText.h"

// ---- TLabel --------------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 65; FHeight = 13;
}

void TLabel::TextChanged()
{
    // The label is drawn again at once: the program changes status texts while it is busy.
    Invalidate();
}

void TLabel::Paint()
{
    RECT r = {0, 0, FWidth, FHeight};
    if (!Transparent) {
        Canvas.Brush.SetColor(FColor);
        Canvas.FillRect(Rect(0, 0, FWidth, FHeight));
    }
    HDC dc = Canvas.Handle();
    SelectObject(dc, Font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(FEnabled ? Font.Color() : clGrayText));
    UINT fmt = (ShowAccelChar ? 0 : DT_NOPREFIX) | DT_EXPANDTABS | (WordWrap ? DT_WORDBREAK : 0) |
               (Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    // A carriage return alone breaks the line as the text controls of Windows do.
    std::string text;
    for (size_t i = 0; i < FText.size(); ++i) {
        text += FText[i];
        if (FText[i] == '\r' && (i + 1 >= FText.size() || FText[i + 1] != '\n')) text += '\n';
    }
    DrawTextOf(dc, text, &r, fmt);
}

// ---- buttons -------------------------------------------------------------------------------

LRESULT TButtonControl::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    if (msg == CN_COMMAND && HIWORD(w) == BN_CLICKED) {
        Click();
        return 0;
    }
    return TWinControl::WndProc(msg, w, l);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    FWidth = 75; FHeight = 25;
    TabStop = true;
}

void TButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    p.SysClass = "BUTTON";
    p.Style |= BS_PUSHBUTTON;
}

void TButton::Click()
{
    if (ModalResult)
        if (TForm* f = GetParentForm(this)) f->ModalResult = ModalResult;
    TButtonControl::Click();
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner)
{
    FWidth = 97; FHeight = 17;
    TabStop = true;
}

void TCheckBox::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    p.SysClass = "BUTTON";
    p.Style |= FRadio ? BS_RADIOBUTTON : BS_CHECKBOX;
    if (WordWrap) p.Style |= BS_MULTILINE;
}

void TCheckBox::HandleCreated()
{
    SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetCheckedQuietly(bool c)
{
    FChecked = c;
    if (FHandle) SendMessageA(FHandle, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool c)
{
    if (c == FChecked) return;
    SetCheckedQuietly(c);
    if (FRadio && c && FParent) {
        for (TControl* sib : FParent->Controls())
            if (auto* r = dynamic_cast<TRadioButton*>(sib); r && r != this) r->SetCheckedQuietly(false);
    }
    Click();
}

LRESULT TCheckBox::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    if (msg == CN_COMMAND && HIWORD(w) == BN_CLICKED) {
        // The box is flipped by us (not BS_AUTOCHECKBOX), so code and clicks take one path.
        if (FRadio) SetChecked(true); else SetChecked(!FChecked);
        return 0;
    }
    return TButtonControl::WndProc(msg, w, l);
}

TRadioButton::TRadioButton(TComponent* owner) : TCheckBox(owner) { FRadio = true; }

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { FWidth = 185; FHeight = 105; }

void TGroupBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.SysClass = "BUTTON";
    p.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    // A group box holds controls: their notifications come here and are handed on.
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(w), &r, ColorBrush());
        return 1;
    }
    // The system's group box lets the mouse through to the window below; over one of its
    // windowless controls (a colour swatch, say) the mouse is that control's.
    if (msg == WM_NCHITTEST) {
        POINT p = {short(LOWORD(l)), short(HIWORD(l))};
        ::ScreenToClient(FHandle, &p);
        if (ControlAtPos({p.x, p.y})) return HTCLIENT;
    }
    if (msg == WM_PAINT) {
        // The system draws the frame and caption; the windowless controls in the box (a
        // gauge, labels) are ours to draw on top, over the part that was invalid.
        if (w) {
            LRESULT r = TWinControl::WndProc(msg, w, l);
            PaintControls(reinterpret_cast<HDC>(w));
            return r;
        }
        HRGN invalid = CreateRectRgn(0, 0, 0, 0);
        int kind = GetUpdateRgn(FHandle, invalid, FALSE);
        LRESULT r = TWinControl::WndProc(msg, w, l);
        if (kind != NULLREGION && kind != ERROR && !Controls().empty()) {
            HDC dc = GetDC(FHandle);
            SelectClipRgn(dc, invalid);
            PaintControls(dc);
            ReleaseDC(FHandle, dc);
        }
        DeleteObject(invalid);
        return r;
    }
    return TWinControl::WndProc(msg, w, l);
}

// ---- TEdit ---------------------------------------------------------------------------------

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    FWidth = 121; FHeight = 21;
    FColor = clWindow;
    TabStop = true;
}

void TEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.SysClass = "EDIT";
    p.Style |= ES_AUTOHSCROLL;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::HandleCreated()
{
    TWinControl::HandleCreated();
    if (MaxLength > 0) SendMessageA(FHandle, EM_LIMITTEXT, MaxLength, 0);
}

const std::string& TEdit::Text()
{
    if (FHandle) {
        int n = GetWindowTextLengthA(FHandle);
        std::string s(n + 1, '\0');
        GetWindowTextA(FHandle, s.data(), n + 1);
        s.resize(n);
        FText = s;
    }
    return FText;
}

LRESULT TEdit::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    if (msg == CN_COMMAND && HIWORD(w) == EN_CHANGE) {
        Text();
        OnChange(this);
        return 0;
    }
    return TWinControl::WndProc(msg, w, l);
}

// ---- TListBox ------------------------------------------------------------------------------

TListBox::TListBox(TComponent* owner) : TWinControl(owner)
{
    FWidth = 121; FHeight = 97;
    FColor = clWindow;
    TabStop = true;
    PressAfterDefault = true;
}

void TListBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.SysClass = "LISTBOX";
    p.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    // An owner-drawn list keeps its lines here and the system's list only counts them: handing
    // a library of 100,000 lines over is then one message instead of 200,000, each copying a
    // text into the system's list.
    p.Style |= Style == lbOwnerDrawFixed ? LBS_OWNERDRAWFIXED | LBS_NODATA : LBS_HASSTRINGS;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

bool TListBox::KeepsLines() const
{
    return !FHandle || Style == lbOwnerDrawFixed;
}

void TListBox::HandleCreated()
{
    if (Style == lbOwnerDrawFixed) {
        SendMessageA(FHandle, LB_SETITEMHEIGHT, 0, ItemHeight);
        SendMessageA(FHandle, LB_SETCOUNT, Count(), 0);
        // Made without it (a list that only counts its lines may not hold texts), the style
        // now says that the lines are texts: the system then carries LB_GETTEXT and
        // LB_GETTEXTLEN from other programs (screen readers, automation) as texts, not as
        // data words, and this window answers them from the lines kept here. The system's
        // list keeps the behaviour it was made with.
        SetWindowLongPtrA(FHandle, GWL_STYLE, GetWindowLongPtrA(FHandle, GWL_STYLE) | LBS_HASSTRINGS);
        return;
    }
    for (size_t k = 0; k < FLines.Count(); ++k) {
        const std::string s(FLines.Text(k));
        int i = static_cast<int>(SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())));
        SendMessageA(FHandle, LB_SETITEMDATA, i, reinterpret_cast<LPARAM>(FLines.Object(k)));
    }
    FLines.Clear();
}

int TListBox::Count() const
{
    if (!KeepsLines()) return static_cast<int>(SendMessageA(FHandle, LB_GETCOUNT, 0, 0));
    return static_cast<int>(FFiltered ? FShown.size() : FLines.Count());
}

std::string TListBox::Strings(int i) const
{
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
    if (KeepsLines()) return std::string(FLines.Text(LineAt(i)));
    int n = static_cast<int>(SendMessageA(FHandle, LB_GETTEXTLEN, i, 0));
    std::string s(n + 1, '\0');
    SendMessageA(FHandle, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
    s.resize(n);
    return s;
}

TObject* TListBox::Objects(int i) const
{
    if (i < 0 || i >= Count()) throw Exception(Format("List index out of bounds (%d)", i));
    if (KeepsLines()) return FLines.Object(LineAt(i));
    return reinterpret_cast<TObject*>(SendMessageA(FHandle, LB_GETITEMDATA, i, 0));
}

int TListBox::AddItem(const std::string& s, TObject* o)
{
    if (KeepsLines()) {
        FLines.Add(s, o);
        if (FFiltered) FShown.push_back(static_cast<int>(FLines.Count()) - 1);
        if (FHandle) SendMessageA(FHandle, LB_ADDSTRING, 0, 0);
        return Count() - 1;
    }
    int i = static_cast<int>(SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())));
    SendMessageA(FHandle, LB_SETITEMDATA, i, reinterpret_cast<LPARAM>(o));
    return i;
}

void TListBox::DeleteItem(int i)
{
    if (i < 0 || i >= Count()) return;
    if (KeepsLines()) {
        const int line = LineAt(i);
        FLines.Erase(line);
        if (FFiltered) {
            FShown.erase(FShown.begin() + i);
            for (auto k = FShown.begin() + i; k != FShown.end(); ++k) --*k;
        }
    }
    if (FHandle) SendMessageA(FHandle, LB_DELETESTRING, i, 0);
    FClickedIndex = ItemIndex();
}

void TListBox::Clear()
{
    FLines.Clear();
    FFiltered = false;
    FShown.clear();
    if (FHandle) SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
    FClickedIndex = -1;
}

void TListBox::SetLines(const TStringList& lines)
{
    TTextLines taken;
    taken.Lines.reserve(lines.Count());
    for (int i = 0; i < lines.Count(); ++i) taken.Add(lines.Strings(i), lines.Objects(i));
    SetLines(std::move(taken));
}

void TListBox::SetLines(std::vector<std::pair<std::string, TObject*>>&& lines)
{
    TTextLines taken;
    taken.Lines.reserve(lines.size());
    for (auto& [s, o] : lines) taken.Add(s, o);
    SetLines(std::move(taken));
}

void TListBox::SetLines(TTextLines&& lines)
{
    FClickedIndex = -1;
    FFiltered = false;
    FShown.clear();
    if (KeepsLines()) {
        FLines = std::move(lines);
        if (!FHandle) return;
        SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
        SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
        SendMessageA(FHandle, LB_SETCOUNT, FLines.Count(), 0);
    } else {
        SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
        SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
        SendMessageA(FHandle, LB_INITSTORAGE, lines.Count(), lines.Count() * 16);
        for (size_t i = 0; i < lines.Count(); ++i) {
            const std::string s(lines.Text(i));
            int k = static_cast<int>(SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())));
            SendMessageA(FHandle, LB_SETITEMDATA, k, reinterpret_cast<LPARAM>(lines.Object(i)));
        }
    }
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TListBox::ShowOnly(std::vector<int>&& lines)
{
    if (Style != lbOwnerDrawFixed) return;
    const int selected = ItemIndex() >= 0 ? LineAt(ItemIndex()) : -1;
    FFiltered = true;
    FShown = std::move(lines);
    Recount(selected);
}

void TListBox::ShowAll()
{
    if (!FFiltered) return;
    const int selected = ItemIndex() >= 0 ? LineAt(ItemIndex()) : -1;
    FFiltered = false;
    FShown.clear();
    Recount(selected);
}

// The system's list gets the new count; selectedLine (an index among all lines, or -1) stays
// selected where it is shown.
void TListBox::Recount(int selectedLine)
{
    if (!FHandle) return;
    int selected = selectedLine;
    if (FFiltered && selected >= 0) {
        const auto at = std::lower_bound(FShown.begin(), FShown.end(), selected);
        selected = at != FShown.end() && *at == selected ? static_cast<int>(at - FShown.begin()) : -1;
    }
    SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
    SendMessageA(FHandle, LB_SETCOUNT, Count(), 0);
    if (selected >= 0) SendMessageA(FHandle, LB_SETCURSEL, selected, 0);
    FClickedIndex = ItemIndex();
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
}

int TListBox::ItemIndex() const
{
    if (FPressedIndex >= 0) return FPressedIndex;
    return FHandle ? static_cast<int>(SendMessageA(FHandle, LB_GETCURSEL, 0, 0)) : -1;
}

void TListBox::SetItemIndex(int i)
{
    if (FHandle) SendMessageA(FHandle, LB_SETCURSEL, i, 0);
    FClickedIndex = ItemIndex();
}

int TListBox::TopIndex() const
{
    return FHandle ? static_cast<int>(SendMessageA(FHandle, LB_GETTOPINDEX, 0, 0)) : 0;
}

TRect TListBox::ItemRect(int i) const
{
    RECT r = {};
    if (FHandle) SendMessageA(FHandle, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

int TListBox::ItemAtPos(TPoint p, bool existing) const
{
    if (!FHandle) return -1;
    LRESULT r = SendMessageA(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.X, p.Y));
    int i = LOWORD(r);
    if (HIWORD(r) && existing) return -1;
    return i;
}

void TListBox::ReportSelection()
{
    if (ItemIndex() == FClickedIndex) return;
    FClickedIndex = ItemIndex();
    Click();
}

void TListBox::DrawItemBackground(int, TRect r, TOwnerDrawState)
{
    Canvas.FillRect(r);
}

void TListBox::DrawItem(int index, TRect r, TOwnerDrawState state)
{
    if (OnDrawItem) OnDrawItem(this, index, r, state);
    else Canvas.TextRect(r, r.Left + 2, r.Top, Strings(index));
}

LRESULT TListBox::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        // A press on another line tells of it before the system's list selects and redraws
        // it, so that what the selection starts (a sound) does not wait for the paint.
        if (FHandle && !(w & (MK_SHIFT | MK_CONTROL))) {
            const int i = ItemAtPos({GET_X_LPARAM(l), GET_Y_LPARAM(l)}, true);
            if (i >= 0 && i != ItemIndex()) {
                FPressedIndex = i;
                try {
                    ReportSelection();
                } catch (...) {
                    FPressedIndex = -1;
                    SendMessageA(FHandle, LB_SETCURSEL, i, 0);
                    throw;
                }
                FPressedIndex = -1;
            }
        }
        break;
    case CN_COMMAND:
        if (HIWORD(w) == LBN_SELCHANGE) {
            ReportSelection();
            return 0;
        }
        // A double click comes with its mouse message already; the list's own notice of it
        // would raise the event twice.
        if (HIWORD(w) == LBN_DBLCLK) return 0;
        break;
    case WM_CHAR:
        if (Style == lbOwnerDrawFixed && FHandle) {
            if (HandleKey(msg, w, l)) return 0;
            // The system's list finds lines by their first letter only when it holds their
            // texts; this one does it for the lines kept here, as the system would.
            if (w >= 32) SelectByLetter(static_cast<char>(w));
            return 0;
        }
        break;
    case LB_GETTEXTLEN:
    case LB_GETTEXT:
        if (Style == lbOwnerDrawFixed && FHandle) {
            if (w >= static_cast<WPARAM>(Count())) return LB_ERR;
            const std::string_view s = FLines.Text(LineAt(static_cast<int>(w)));
            if (msg == LB_GETTEXT) {
                if (!l) return LB_ERR;
                std::memcpy(reinterpret_cast<char*>(l), s.data(), s.size());
                reinterpret_cast<char*>(l)[s.size()] = '\0';
            }
            return static_cast<LRESULT>(s.size());
        }
        break;
    case CN_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (static_cast<int>(dis->itemID) < 0) {
            // An empty list with the focus: only the focus rectangle.
            if (dis->itemState & ODS_FOCUS) ::DrawFocusRect(dis->hDC, &dis->rcItem);
            return TRUE;
        }
        TOwnerDrawState state = 0;
        if (dis->itemState & ODS_SELECTED) state |= odSelected;
        if (dis->itemState & ODS_FOCUS) state |= odFocused;
        if (dis->itemState & ODS_DISABLED) state |= odDisabled;
        TRect r = Rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom);
        int saved = SaveDC(dis->hDC);
        Canvas.SetHandle(dis->hDC);
        Canvas.Font.Assign(Font);
        if (state & odSelected) {
            Canvas.Brush.SetColor(clHighlight);
            Canvas.Font.SetColor(clHighlightText);
        } else {
            Canvas.Brush.SetColor(FColor);
            Canvas.Font.SetColor(Font.Color());
        }
        try {
            DrawItemBackground(static_cast<int>(dis->itemID), r, state);
            DrawItem(static_cast<int>(dis->itemID), r, state);
        } catch (...) {
            Canvas.SetHandle(nullptr);
            RestoreDC(dis->hDC, saved);
            throw;
        }
        if (state & odFocused) Canvas.DrawFocusRect(r);
        Canvas.SetHandle(nullptr);
        RestoreDC(dis->hDC, saved);
        return TRUE;
    }
    }
    return TWinControl::WndProc(msg, w, l);
}

void TListBox::SelectByLetter(char c)
{
    int n = Count();
    if (n == 0) return;
    int from = static_cast<int>(SendMessageA(FHandle, LB_GETCARETINDEX, 0, 0));
    auto upper = [](char ch) {
        char s[2] = {ch, 0};
        CharUpperBuffA(s, 1);
        return s[0];
    };
    char wanted = upper(c);
    for (int k = 1; k <= n; ++k) {
        int i = ((from < 0 ? -1 : from) + k) % n;
        const std::string_view s = FLines.Text(LineAt(i));
        if (s.empty()) continue;
        if (upper(s[0]) != wanted) continue;
        if (i == ItemIndex()) return;
        SendMessageA(FHandle, LB_SETCURSEL, i, 0);
        // The change tells the parent as a change by the user does.
        SendMessageA(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(FHandle), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(FHandle));
        return;
    }
}

// ---- TComboBox -----------------------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner)
{
    FWidth = 145; FHeight = 21;
    FColor = clWindow;
    TabStop = true;
}

void TComboBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.SysClass = "COMBOBOX";
    p.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
    p.Height = 200;     // the drop-down's height; the edit part keeps its own
}

void TComboBox::HandleCreated()
{
    for (auto& s : FItems) SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    SendMessageA(FHandle, CB_SETCURSEL, FIndex, 0);
}

void TComboBox::AddItem(const std::string& s)
{
    FItems.push_back(s);
    if (FHandle) SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void TComboBox::Clear()
{
    FItems.clear();
    FIndex = -1;
    if (FHandle) SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
}

int TComboBox::Count() const { return static_cast<int>(FItems.size()); }

int TComboBox::ItemIndex() const
{
    return FHandle ? static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0)) : FIndex;
}

void TComboBox::SetItemIndex(int i)
{
    FIndex = i;
    if (FHandle) SendMessageA(FHandle, CB_SETCURSEL, i, 0);
}

LRESULT TComboBox::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    if (msg == CN_COMMAND && HIWORD(w) == CBN_SELCHANGE) {
        FIndex = ItemIndex();
        OnChange(this);
        return 0;
    }
    return TWinControl::WndProc(msg, w, l);
}
