#include "ui/print_list_ctrl.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstdio>

#include "platform/colors.h"
#include "platform/qt_text.h"
#include "ui/print_cell_codes.h"
#include "ui/print_dialog.h"

namespace ui {

namespace {

constexpr int kCellInset = 4;
constexpr size_t kMaxCellText = 255;
// A row with one of these is a section title: no vertical lines, a line under it.
constexpr const char* kSectionMarks[] = {"1- ", "2- ", "3- ", "4- ", "5- ", "6- "};

int ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : -1;
}

// A font whose line (ascent and descent) is `height` device units high, as a positive font
// height asks of Windows.
QFont MakeFont(const std::string& face, int height, QPaintDevice& device) {
    QFont font(platform::ToQt(face));
    font.setWeight(QFont::Normal);
    font.setPixelSize(std::max(1, height));
    const int line = QFontMetrics(font, &device).height();
    if (line > 0 && line != height)
        font.setPixelSize(std::max(1, height * height / line));
    return font;
}

Qt::Alignment HorizontalAlignment(int align) {
    return align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft;
}

Qt::Alignment FormatAlignment(unsigned format) {
    return format & DT_CENTER  ? Qt::AlignHCenter
           : format & DT_RIGHT ? Qt::AlignRight
                               : Qt::AlignLeft;
}

void DrawLine(QPainter& painter, const QRect& text, Qt::Alignment align, const std::string& s) {
    painter.drawText(text, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine),
                     platform::ToQt(s));
}

bool IsSectionTitle(const PrintedList& list, int row, int columns) {
    for (int column = 0; column < columns; ++column) {
        const std::string& text = list.Cell(row, column);
        for (const char* mark : kSectionMarks)
            if (text.find(mark) != std::string::npos)
                return true;
    }
    return false;
}

}  // namespace

const std::string& PrintedList::Cell(int row, int column) const {
    static const std::string empty;
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 ||
        column >= static_cast<int>(rows[row].size()))
        return empty;
    return rows[row][column];
}

int ScaleToPrinter(int points, int printerDpiY, int screenDpiY) {
    if (printerDpiY <= 0 || screenDpiY <= 0)
        return -1;
    return points * printerDpiY / screenDpiY;
}

CPrintListCtrl::CPrintListCtrl() = default;
CPrintListCtrl::~CPrintListCtrl() = default;

void CPrintListCtrl::SetHeaderFill(BOOL on, COLORREF colour) {
    m_bFillHeader = on;
    m_headerFill = colour;
}

void CPrintListCtrl::SetFooterFill(BOOL on, COLORREF colour) {
    m_bFillFooter = on;
    m_footerFill = colour;
}

void CPrintListCtrl::SetCustomFirstLine(BOOL on, const std::string& text, unsigned format) {
    m_bCustomFirstLine = on;
    m_strFirstLine = text.substr(0, 511);
    m_nFirstLineFormat = format;
}

void CPrintListCtrl::SetCustomThirdLine(BOOL on, const std::string& text, unsigned format) {
    m_bCustomThirdLine = on;
    m_strThirdLine = text.substr(0, 511);
    m_nThirdLineFormat = format;
}

void CPrintListCtrl::SetMargins(int left, int top) {
    m_nLeftMargin = std::max(0, left);
    m_nTopMargin = std::max(0, top);
}

BOOL CPrintListCtrl::OnPreparePrinting(CPrintInfo& info, const std::string& title) {
    m_strTitle = title;
    if (!m_pList)
        return FALSE;
    m_nColCount = static_cast<int>(m_pList->columns.size());
    m_nRowCount = static_cast<int>(m_pList->rows.size());
    m_columns.assign(m_nColCount, Column{});
    m_printTime = platform::DateTime::Now();
    info.m_strPageDesc.clear();
    return TRUE;
}

PrintPageLayout CPrintListCtrl::ComputeLayout(int pageWidth, int pageHeight, int printerDpiY,
                                              int screenDpiY) const {
    PrintPageLayout l;
    l.pageWidth = pageWidth;
    l.pageHeight = pageHeight;
    l.titleFontHeight = ScaleToPrinter(m_nTitleRowSize, printerDpiY, screenDpiY);
    l.rowFontHeight = l.titleFontHeight;
    l.footerFontHeight = ScaleToPrinter(m_nFooterSize, printerDpiY, screenDpiY);
    l.headerHeight = m_bPrintTitleHeader ? 4 * l.titleFontHeight + 20 : 0;
    l.rowHeight = std::max(1, l.rowFontHeight + 6);
    const int usable = pageHeight - (m_bPrintFooter ? 10 + l.footerFontHeight + 4 : 0);
    l.footerTop = usable;
    l.rowsBottom = m_bPrintFooter ? usable - 10 : usable;
    // The rows start below everything printed above them, so that every row counted for a
    // page also fits on it.
    l.rowsTop = m_nTopMargin + (m_bPrintTitleHeader ? l.headerHeight + 20 : 0) +
                (m_bPrintHead ? l.rowHeight + 3 + 10 : 0);
    l.rowsPerPage = std::max(1, (l.rowsBottom - l.rowsTop) / l.rowHeight);
    return l;
}

void CPrintListCtrl::PrepareDC(QPaintDevice& device, CPrintInfo& info) {
    m_layout = ComputeLayout(device.width(), device.height(), device.logicalDpiY(), ScreenDpiY());
    m_fonts.reset();
    if (m_layout.rowFontHeight > 0 && m_layout.footerFontHeight > 0) {
        m_fonts = std::make_unique<Fonts>();
        m_fonts->title = MakeFont(m_strTitleFont, m_layout.titleFontHeight, device);
        m_fonts->row = MakeFont(m_strRowFont, m_layout.rowFontHeight, device);
        m_fonts->footer = MakeFont(m_strFooterFont, m_layout.footerFontHeight, device);
    }
    const int seventh = m_layout.pageWidth / 7;
    for (int column = 0; column < m_nColCount; ++column) {
        const ListColumn& header = m_pList->columns[column];
        Column& c = m_columns[column];
        c.width = column == 0 ? 2 * seventh : seventh;
        c.align = header.format & LVCFMT_CENTER ? 1 : header.format & LVCFMT_RIGHT ? 2 : 0;
        c.heading = header.heading;
    }
    RecountRows(info);
}

void CPrintListCtrl::RecountRows(CPrintInfo& info) {
    m_nRowCount = m_pList ? static_cast<int>(m_pList->rows.size()) : 0;
    info.SetMinPage(1);
    info.SetMaxPage(m_nRowCount / m_layout.rowsPerPage + 1);
}

void CPrintListCtrl::OnPrint(QPainter& painter, CPrintInfo& info) {
    if (!m_fonts || !m_pList) {
        info.m_bContinuePrinting = FALSE;
        return;
    }
    const int page = info.m_nCurPage;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    // From the second page on the first column is as narrow as the second.
    if (page >= 2 && m_nColCount >= 2)
        m_columns[0].width = m_columns[1].width;
    int y = m_nTopMargin;
    if (m_bPrintTitleHeader)
        y = PrintTitleHeader(painter, page);
    if (m_bPrintHead)
        y = PrintColumnHeadings(painter, y);
    if (m_bPrintFooter)
        PrintFooter(painter, page);
    const int first = (page - 1) * m_layout.rowsPerPage;
    const int last = std::min(first + m_layout.rowsPerPage, m_nRowCount);
    for (int row = std::max(0, first); row < last; ++row) {
        if (y + m_layout.rowHeight > m_layout.rowsBottom)
            break;
        PrintReportRow(painter, row, y);
        y += m_layout.rowHeight;
    }
}

void CPrintListCtrl::OnEndPrinting() {
    m_fonts.reset();
    m_columns.clear();
}

std::string CPrintListCtrl::PrintTimeText() const {
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d  %02d:%02d:%02d", m_printTime.Year(),
                  m_printTime.Month(), m_printTime.Day(), m_printTime.Hour(), m_printTime.Minute(),
                  m_printTime.Second());
    return text;
}

int CPrintListCtrl::PrintTitleHeader(QPainter& painter, int page) const {
    const int h = m_layout.titleFontHeight;
    const QRect frame(m_nLeftMargin, m_nTopMargin, m_layout.pageWidth - 2 * m_nLeftMargin,
                      m_layout.headerHeight);
    if (m_bFillHeader)
        painter.fillRect(frame, platform::ToQColor(m_headerFill));
    painter.drawRect(frame);
    const int x = frame.left() + 10;
    const int w = frame.width() - 20;
    const int top = frame.top() + 5;
    painter.setFont(m_fonts->title);
    if (!m_bPrintFooter)
        DrawLine(painter, QRect(x, top, w, h), Qt::AlignRight, "Page : " + std::to_string(page));
    else if (m_bCustomFirstLine)
        DrawLine(painter, QRect(x, top, w, h), FormatAlignment(m_nFirstLineFormat), m_strFirstLine);
    QFont large = m_fonts->title;
    large.setPixelSize(2 * m_fonts->title.pixelSize());
    painter.setFont(large);
    DrawLine(painter, QRect(x, top + h, w, 2 * h), Qt::AlignHCenter, m_strTitle);
    painter.setFont(m_fonts->title);
    if (!m_bPrintFooter)
        DrawLine(painter, QRect(x, top + 3 * h, w, h), Qt::AlignHCenter, PrintTimeText());
    else if (m_bCustomThirdLine)
        DrawLine(painter, QRect(x, top + 3 * h, w, h), FormatAlignment(m_nThirdLineFormat),
                 m_strThirdLine);
    return frame.bottom() + 1 + 20;
}

int CPrintListCtrl::PrintColumnHeadings(QPainter& painter, int y) const {
    painter.setFont(m_fonts->row);
    int x = m_nLeftMargin;
    for (const Column& column : m_columns) {
        if (column.width == 0)
            continue;
        if (m_bClipAtPageWidth && x + column.width > m_layout.pageWidth)
            break;
        DrawLine(painter,
                 QRect(x + kCellInset, y, column.width - 2 * kCellInset, m_layout.rowHeight),
                 HorizontalAlignment(column.align), column.heading);
        x += column.width;
    }
    if (m_bVerticalLines)
        DrawVerticalLines(painter, y, m_layout.rowHeight);
    y += m_layout.rowHeight;
    painter.fillRect(QRect(m_nLeftMargin, y, m_layout.pageWidth - 2 * m_nLeftMargin, 3), Qt::black);
    return y + 3 + 10;
}

void CPrintListCtrl::PrintFooter(QPainter& painter, int page) const {
    const QRect band(m_nLeftMargin, m_layout.footerTop, m_layout.pageWidth - 2 * m_nLeftMargin,
                     m_layout.footerFontHeight + 4);
    if (m_bFillFooter)
        painter.fillRect(band, platform::ToQColor(m_footerFill));
    painter.drawRect(band);
    painter.setFont(m_fonts->footer);
    const QRect text = band.adjusted(kCellInset, 0, -kCellInset, 0);
    // The verification report always has two pages, whatever the job holds.
    DrawLine(painter, QRect(text.left(), text.top(), text.width() / 2, text.height()),
             Qt::AlignLeft, "Page : " + std::to_string(page) + "/2");
    DrawLine(painter, text, Qt::AlignRight, PrintTimeText());
}

void CPrintListCtrl::DrawVerticalLines(QPainter& painter, int y, int height) const {
    int x = m_nLeftMargin;
    for (size_t column = 0; column < m_columns.size(); ++column) {
        const int width = m_columns[column].width;
        if (m_bClipAtPageWidth && x + width > m_layout.pageWidth)
            break;
        if (column > 0)
            painter.drawLine(x, y, x, y + height);
        x += width;
    }
}

void CPrintListCtrl::PrintReportRow(QPainter& painter, int row, int y) const {
    painter.setFont(m_fonts->row);
    int x = m_nLeftMargin;
    for (int column = 0; column < m_nColCount; ++column) {
        const int width = m_columns[column].width;
        if (width == 0)
            continue;
        if (m_bClipAtPageWidth && x + width > m_layout.pageWidth)
            break;
        const std::string& raw = m_pList->Cell(row, column);
        const PrintedCell cell = DecodeCell(raw.substr(0, kMaxCellText));
        // A cell's text may run on over the next two columns.
        const QRect area(x + kCellInset, y, 3 * width - 2 * kCellInset, m_layout.rowFontHeight);
        const int flags = static_cast<int>(HorizontalAlignment(m_columns[column].align) |
                                           Qt::AlignVCenter | Qt::TextSingleLine);
        const QString text = platform::ToQt(cell.text);
        if (!text.isEmpty()) {
            if (cell.bkColor != kPrintWhite)
                painter.fillRect(painter.boundingRect(area, flags, text) & area,
                                 platform::ToQColor(cell.bkColor));
            painter.setPen(platform::ToQColor(cell.textColor));
            painter.drawText(area, flags, text);
        }
        x += width;
    }
    painter.setPen(QPen(Qt::black, 1));
    const int across = m_layout.pageWidth - m_nLeftMargin;
    if (IsSectionTitle(*m_pList, row, m_nColCount)) {
        const int line = y + m_layout.rowFontHeight + 3;
        painter.drawLine(m_nLeftMargin, line, across, line);
    } else if (m_bVerticalLines && row > m_nFirstRowWithLines) {
        DrawVerticalLines(painter, y, m_layout.rowHeight);
    }
    if (m_bLineAfterEachRow)
        painter.drawLine(m_nLeftMargin, y + m_layout.rowHeight, across, y + m_layout.rowHeight);
}

}  // namespace ui
