#pragma once
// A push button that draws itself: an icon left of a centred caption (with a second icon, or a
// grey copy of the first, while the mouse is outside), a flat look with a border that shows
// while the mouse is over it or a raised 3-D one, a tooltip, and as a click either a check-box
// toggle or opening a web address. CWinXPButtonST draws the hovered or pressed button as a
// rounded field without border.

#include <QImage>
#include <QPushButton>
#include <array>
#include <string>

#include "platform/win_types.h"

namespace ui {

// Button types of a Windows button style (its low four bits).
constexpr unsigned BS_PUSHBUTTON = 0;
constexpr unsigned BS_DEFPUSHBUTTON = 1;
constexpr unsigned BS_AUTOCHECKBOX = 3;
constexpr unsigned BS_OWNERDRAW = 11;

class CButtonST : public QPushButton {
    Q_OBJECT
public:
    // Results.
    static constexpr int BTNST_OK = 0;
    static constexpr int BTNST_INVALIDRESOURCE = 1;
    static constexpr int BTNST_INVALIDPRESSEDSTYLE = 6;
    // The out icon: none, or a grey copy of the in icon.
    static constexpr int BTNST_NO_ICON = 0;
    static constexpr int BTNST_AUTO_GRAY = -2;
    // The colour table.
    enum ColorIndex {
        BTNST_COLOR_BK_IN,
        BTNST_COLOR_FG_IN,
        BTNST_COLOR_BK_OUT,
        BTNST_COLOR_FG_OUT,
        BTNST_COLOR_BK_FOCUS,
        BTNST_COLOR_FG_FOCUS,
        BTNST_MAX_COLORS
    };

    explicit CButtonST(QWidget* parent = nullptr);
    CButtonST(const QString& caption, QWidget* parent = nullptr);

    // Takes the Windows style of the button this one stands for: a check-box type (bit value
    // 2 in the low four bits) makes it a check box, the default push button a default button.
    void PreSubclassWindow(unsigned style);

    // Icons of the program's images by id (ui/program_images.h); iconOut 0 or BTNST_AUTO_GRAY.
    int SetIcon(int iconIn, int iconOut = BTNST_NO_ICON);
    int SetIcon(const QImage& in, int iconOut);
    int SetIcon(const QImage& in, const QImage& out);
    int SetFlat(BOOL flat, BOOL repaint = TRUE);
    int SetPressedStyle(int style, BOOL repaint = TRUE);
    int SetCheck(int check, BOOL repaint = TRUE);
    int GetCheck() const { return m_bChecked; }
    int SetDefaultColors(BOOL repaint = TRUE);
    void SetTooltipText(const QString& text, BOOL activate = TRUE);
    int SetURL(const std::string& url);

    bool IsFlat() const { return m_bIsFlat; }
    bool IsHovered() const { return m_bMouseOnButton; }
    bool IsCheckBox() const { return m_bIsCheckBox; }
    bool IsDefaultButton() const { return m_bIsDefault; }
    COLORREF Color(int index) const { return m_crColors.at(index); }
    const std::string& URL() const { return m_strURL; }

    // Each non-black pixel as grey of its brightness; transparency kept.
    static QImage GrayImage(const QImage& image);

protected:
    virtual void OnDrawBackground(QPainter& painter, const QRect& rect, bool pressed);
    virtual void OnDrawBorder(QPainter& painter, const QRect& rect, bool pressed);
    void DrawIconImage(QPainter& painter, const QRect& item, QRect& caption, bool pressed,
                       bool disabled);
    void DrawCaption(QPainter& painter, QRect caption, bool pressed, bool disabled);

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnClicked();
    void StartHover();
    void CancelHover();
    bool IsPressed() const;

    QPoint m_ptImageOrg{3, 3};
    QPoint m_ptPressedOffset{1, 1};
    bool m_bIsFlat = true;
    bool m_bMouseOnButton = false;
    bool m_bIsDefault = false;
    bool m_bIsCheckBox = false;
    bool m_bDrawBorder = true;
    bool m_bDrawFlatFocus = false;
    bool m_bAlwaysTrack = true;
    int m_bChecked = 0;
    std::array<COLORREF, BTNST_MAX_COLORS> m_crColors{};
    QImage m_iconIn;
    QImage m_iconOut;
    std::string m_strURL;
};

class CWinXPButtonST : public CButtonST {
    Q_OBJECT
public:
    using CButtonST::CButtonST;
    void SetRounded(bool rounded, bool repaint = true);

protected:
    void OnDrawBackground(QPainter& painter, const QRect& rect, bool pressed) override;
    void OnDrawBorder(QPainter& painter, const QRect& rect, bool pressed) override;

private:
    bool m_bIsRounded = true;
};

}  // namespace ui
