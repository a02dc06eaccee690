// "Stampa Rapporto" end to end: the verification report printed into a PDF file and read back
// with poppler's pdftotext and pdftoppm.
#include <gtest/gtest.h>

#include <QImage>
#include <QPdfWriter>
#include <cstdlib>
#include <functional>

#include "../report/verification_file_maker.h"
#include "app/frame_command_ids.h"
#include "platform/files.h"
#include "report/report_file.h"
#include "report/report_list.h"
#include "ui/print_dialog.h"
#include "ui/print_job.h"
#include "ui/report_list_widget.h"
#include "view_test_support.h"

using namespace viewtest;

namespace {

constexpr COLORREF kYellow = 0x00FFFF, kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

struct Snapshot {
    std::vector<std::string> texts;
    std::vector<COLORREF> colours;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const ui::CReportCtrl& list) {
    Snapshot s;
    for (int r = 0; r < list.GetItemCount(); ++r)
        for (int c = 0; c < list.GetColumnCount(); ++c) {
            s.texts.push_back(list.GetItemText(r, c));
            s.colours.push_back(list.GetItemBkColor(r, c));
            s.colours.push_back(list.GetItemTextColor(r, c));
        }
    return s;
}

// A report as the report writers leave it: the header section, then the tests.
void FillReport(ui::CReportCtrl& list) {
    list.InsertColumn(0, "Voce", ui::LVCFMT_LEFT, 200);
    list.InsertColumn(1, "Valore", ui::LVCFMT_LEFT, 150);
    list.InsertColumn(2, "Esito", ui::LVCFMT_LEFT, 100);
    auto row = [&](const std::string& a, const std::string& b = {}, const std::string& c = {}) {
        const int r = list.InsertItem(list.GetItemCount(), a);
        list.SetItemText(r, 1, b);
        list.SetItemText(r, 2, c);
        return r;
    };
    row("1- DATI STRUMENTO");
    row("Matricola", "A1234");
    const int yellow = row("Certificato", "SCADUTO");
    list.SetItemBkColor(yellow, 1, kYellow);
    list.SetItemTextColor(yellow, 1, kBlue);
    const int red = row("Firmware", "VECCHIO");
    list.SetItemBkColor(red, 1, kRed);
    const int green = row("Laboratorio", "ABILITATO");
    list.SetItemBkColor(green, 1, kGreen);
    row("Nota", "marca{B7}interna");
    for (int i = 0; i < 30; ++i)
        row("Campo " + std::to_string(i), std::to_string(100 + i));
    row("PROVE");
    row("2- PROVA A 94 dB");
    row("Livello", "94.0 dB", "SUPERATA");
    const int failed = row("Linearita'", "+1.4 dB", "NON SUPERATA");
    list.SetItemTextColor(failed, 2, kRed);
    row("3- RISPOSTA IN FREQUENZA");
    row("1 kHz", "0.0 dB", "SUPERATA");
}

std::string Run(const std::string& command) {
    return std::system(command.c_str()) == 0 ? "ok" : "failed: " + command;
}

std::vector<std::string> PdfPages(const std::string& pdf) {
    std::vector<std::string> pages(1);
    for (char c : testenv::PdfText(pdf))
        if (c == '\f')
            pages.emplace_back();
        else
            pages.back().push_back(c);
    if (pages.back().empty())
        pages.pop_back();
    return pages;
}

QImage PdfPicture(const std::string& pdf, int page) {
    const std::string prefix = pdf + "-page";
    EXPECT_EQ(Run("pdftoppm -r 100 -png -f " + std::to_string(page) + " -l " +
                  std::to_string(page) + " '" + pdf + "' '" + prefix + "'"),
              "ok");
    for (const std::string& name : {prefix + "-" + std::to_string(page) + ".png",
                                    prefix + "-0" + std::to_string(page) + ".png"})
        if (platform::FileExists(name))
            return QImage(QString::fromStdString(name));
    return {};
}

int Count(const QImage& image, const std::function<bool(const QColor&)>& match) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixelColor(x, y));
    return n;
}

bool Near(const QColor& c, int r, int g, int b) {
    return std::abs(c.red() - r) < 50 && std::abs(c.green() - g) < 50 &&
           std::abs(c.blue() - b) < 50;
}

// The page's lines that hold text, trimmed.
std::vector<std::string> TextLines(const std::string& page) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : page + "\n") {
        if (c != '\n') {
            line.push_back(c);
            continue;
        }
        const size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos)
            lines.push_back(line.substr(first, line.find_last_not_of(' ') - first + 1));
        line.clear();
    }
    return lines;
}

// The longest unbroken dark run down any pixel column: a vertical line between the cells of
// the rows it passes, longer than any letter.
int LongestVerticalRun(const QImage& image) {
    int longest = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0, run = 0; y < image.height(); ++y) {
            run = qGray(image.pixel(x, y)) < 160 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    return longest;
}

class ViewPrintTest : public ViewTest {
protected:
    ViewPrintTest() {
        ui::SetDefaultPrinterSource([] { return std::string(); });
        view.OnInitialUpdate();
        FillReport(view.m_ReportList);
    }
    ~ViewPrintTest() override { ui::SetDefaultPrinterSource(nullptr); }

    void ChoosePdf(const std::string& path) {
        op.ExpectDialog("CPrintDialog", [path](platform::ModalDialog& dialog) {
            auto& print = dynamic_cast<ui::CPrintDialog&>(dialog);
            // The view's preset: pages 1 to 2, one copy.
            EXPECT_EQ(print.m_nFromPage, 1);
            EXPECT_EQ(print.m_nToPage, 2);
            EXPECT_EQ(print.m_nCopies, 1);
            print.m_strOutputFile = path;
            return IDOK;
        });
    }
};

}  // namespace

TEST_F(ViewPrintTest, TheReportPrintsOnTwoPagesWithTheTestsOnTheSecond) {
    const Snapshot before = Take(view.m_ReportList);
    const std::string pdf = folder.File("rapporto.pdf");
    ChoosePdf(pdf);
    ASSERT_TRUE(view.OnCommand(cmd::ID_FILE_PRINT));

    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    for (int p = 0; p < 2; ++p) {
        EXPECT_NE(pages[p].find("QS4060KRTN RAPPORTO DI VERIFICA PERIODICA"), std::string::npos);
        EXPECT_NE(pages[p].find("Page : " + std::to_string(p + 1) + "/2"), std::string::npos);
    }
    EXPECT_NE(pages[0].find("1- DATI STRUMENTO"), std::string::npos);
    EXPECT_NE(pages[0].find("Campo 29"), std::string::npos);
    EXPECT_EQ(pages[0].find("PROVE"), std::string::npos);
    EXPECT_NE(pages[1].find("PROVE"), std::string::npos);
    EXPECT_NE(pages[1].find("NON SUPERATA"), std::string::npos);
    EXPECT_NE(pages[1].find("1 kHz"), std::string::npos);
    // Codes never reach the paper.
    EXPECT_NE(pages[0].find("marcainterna"), std::string::npos);
    EXPECT_EQ(pages[0].find('{'), std::string::npos);
    EXPECT_EQ(pages[1].find('{'), std::string::npos);

    // The list on screen is exactly as it was, its own "{B7}" included.
    EXPECT_EQ(Take(view.m_ReportList), before);
}

TEST_F(ViewPrintTest, ALoadedReportBeginsItsSecondPageWithTheTestsAndTheirLines) {
    // A whole verification, filled in as LoadReport fills the list: a short header, "PROVE",
    // seven tests, the verdict.
    reporttest::FileShape shape;
    shape.tests.clear();
    for (int test = 0; test < 7; ++test)
        shape.tests.emplace_back(test, report::kPassed);
    folder.Write("T200.vpg", reporttest::SealedFile(shape));
    const report::LoadedReport loaded = report::ReadVerificationFile(folder.File("T200.vpg"));
    ASSERT_TRUE(loaded.Loaded());
    report::FillReportList(view.m_ReportList, report::ReportRows(loaded.sections));
    ASSERT_EQ(view.m_ReportList.GetItemCount(), 19);
    ASSERT_EQ(view.m_ReportList.GetItemText(10, 0), "PROVE");

    const std::string pdf = folder.File("verifica.pdf");
    ChoosePdf(pdf);
    ASSERT_TRUE(view.OnCommand(cmd::ID_FILE_PRINT));
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    const std::vector<std::string> first = TextLines(pages[0]);
    const std::vector<std::string> second = TextLines(pages[1]);
    ASSERT_GE(second.size(), 3u);
    EXPECT_EQ(second[0], "QS4060KRTN RAPPORTO DI VERIFICA PERIODICA");
    EXPECT_EQ(second[1], "PROVE");
    EXPECT_NE(pages[1].find("ESITO"), std::string::npos);
    EXPECT_NE(pages[1].find("Page : 2/2"), std::string::npos);
    EXPECT_EQ(pages[0].find("PROVE"), std::string::npos);
    EXPECT_EQ(pages[0].find("SUPERATA"), std::string::npos);
    EXPECT_NE(pages[0].find("Mario Rossi"), std::string::npos);

    // The header's rows have no lines between their cells (the title's frame, four rows high,
    // is the longest line there); the nine rows from "PROVE" to the verdict have one, at 100
    // dpi 16.5 pixels a row.
    const QImage header = PdfPicture(pdf, 1);
    const QImage tests = PdfPicture(pdf, 2);
    ASSERT_FALSE(header.isNull());
    ASSERT_FALSE(tests.isNull());
    EXPECT_LT(LongestVerticalRun(header), 5 * 16.5);
    EXPECT_GE(LongestVerticalRun(tests), 9 * 16.5 - 3);
    EXPECT_LE(LongestVerticalRun(tests), 9 * 16.5 + 3);
}

TEST_F(ViewPrintTest, AccentedHeaderTextsPrintAsTheListShowsThem) {
    // The verification file keeps its texts in Latin-1.
    reporttest::FileShape shape;
    shape.header[1].second = "Laboratorio Citt\xE0";
    shape.header[2].second = "Nicol\xF2 Ges\xF9";
    shape.header[3].second = "Societ\xE0 Forl\xEC";
    shape.header[4].second = "Acustica Perr\xE8";
    folder.Write("T200.vpg", reporttest::SealedFile(shape));
    const report::LoadedReport loaded = report::ReadVerificationFile(folder.File("T200.vpg"));
    ASSERT_TRUE(loaded.Loaded());
    report::FillReportList(view.m_ReportList, report::ReportRows(loaded.sections));

    const ui::ReportListWidget list(view.m_ReportList);
    QStringList shown;
    for (int r = 0; r < list.model()->rowCount(); ++r)
        for (int c = 0; c < list.model()->columnCount(); ++c)
            shown << list.model()->index(r, c).data().toString();
    const std::string pdf = folder.File("accenti.pdf");
    ChoosePdf(pdf);
    ASSERT_TRUE(view.OnCommand(cmd::ID_FILE_PRINT));
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_FALSE(pages.empty());
    for (const QString& text :
         {QStringLiteral(u"Laboratorio Citt\u00E0"), QStringLiteral(u"Nicol\u00F2 Ges\u00F9"),
          QStringLiteral(u"Societ\u00E0 Forl\u00EC"), QStringLiteral(u"Acustica Perr\u00E8")}) {
        EXPECT_TRUE(shown.contains(text)) << text.toStdString();
        EXPECT_NE(pages[0].find(text.toStdString()), std::string::npos) << text.toStdString();
    }
}

TEST_F(ViewPrintTest, TheCellsCarryTheirColoursOntoThePaper) {
    const std::string pdf = folder.File("colori.pdf");
    ChoosePdf(pdf);
    view.OnCommand(cmd::ID_FILE_PRINT);

    const QImage first = PdfPicture(pdf, 1);
    const QImage second = PdfPicture(pdf, 2);
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    auto yellow = [](const QColor& c) { return Near(c, 255, 255, 0); };
    auto red = [](const QColor& c) { return Near(c, 255, 0, 0); };
    auto green = [](const QColor& c) { return Near(c, 0, 255, 0); };
    auto blue = [](const QColor& c) { return Near(c, 0, 0, 255); };
    // Backgrounds on the first page, blue text on the yellow one.
    EXPECT_GT(Count(first, yellow), 200);
    EXPECT_GT(Count(first, red), 200);
    EXPECT_GT(Count(first, green), 200);
    EXPECT_GT(Count(first, blue), 20);
    // The second page has red text only: no background there.
    EXPECT_GT(Count(second, red), 20);
    EXPECT_EQ(Count(second, yellow), 0);
    EXPECT_EQ(Count(second, green), 0);
    EXPECT_EQ(Count(second, blue), 0);
}

TEST_F(ViewPrintTest, ACancelledPrintLeavesTheListAsItWasAndWritesNothing) {
    const Snapshot before = Take(view.m_ReportList);
    op.ExpectDialog("CPrintDialog", [](platform::ModalDialog&) { return IDCANCEL; });
    view.OnCommand(cmd::ID_FILE_PRINT);
    // No printer and no file chosen: the file chooser is cancelled too.
    op.ExpectDialog("CPrintDialog", [](platform::ModalDialog&) { return IDOK; });
    op.ExpectFileChoice(std::nullopt);
    view.OnCommand(cmd::ID_FILE_PRINT);
    EXPECT_EQ(Take(view.m_ReportList), before);
    EXPECT_FALSE(platform::FileExists(folder.File("Rapporto.pdf")));
}

TEST_F(ViewPrintTest, DirectPrintingWithoutAPrinterAsksForAPdfFile) {
    const std::string pdf = folder.File("diretto.pdf");
    op.ExpectFileChoice(pdf);
    ASSERT_TRUE(view.OnCommand(cmd::ID_FILE_PRINT_DIRECT));
    EXPECT_EQ(PdfPages(pdf).size(), 2u);

    // A file that cannot be written is reported and nothing is left behind.
    op.ExpectFileChoice(folder.File("missing/folder/x.pdf"));
    op.ExpectBox("Stampa non riuscita");
    view.OnCommand(cmd::ID_FILE_PRINT_DIRECT);
    EXPECT_FALSE(platform::FileExists(folder.File("missing/folder/x.pdf")));
}

TEST_F(ViewPrintTest, ThePreviewPaintsTheSamePagesEveryTimeItAsks) {
    op.ExpectDialog("CPrintPreviewDlg", [&](platform::ModalDialog& dialog) {
        auto& preview = dynamic_cast<ui::CPrintPreviewDlg&>(dialog);
        for (const char* name : {"a.pdf", "b.pdf"}) {
            QPdfWriter writer(QString::fromStdString(folder.File(name)));
            writer.setResolution(600);
            EXPECT_TRUE(preview.Render(writer));
        }
        return IDOK;
    });
    ASSERT_TRUE(view.OnCommand(cmd::ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(PdfPages(folder.File("a.pdf")), PdfPages(folder.File("b.pdf")));
    EXPECT_EQ(PdfPages(folder.File("b.pdf")).size(), 2u);
}
