// The "Properties" sheet of a graph: its pages filled from the graph, edited with their buttons
// and taken back on OK only; pictures of the pages offscreen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "fixed_metrics.h"
#include "graph/graph_combo_box.h"
#include "graph/graph_commands.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_frame.h"
#include "graph/graph_panel.h"
#include "graph/graph_property_pages.h"
#include "graph/graph_window.h"
#include "graph/graph_wnd.h"
#include "graph/point_view_bar.h"
#include "platform/colors.h"
#include "support/test_env.h"

using graph::CGraphPanel;
using graph::VisibleRange;

namespace {

constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;

std::vector<std::string> Titles(const graph::CGraphPropertySheet& sheet) {
    std::vector<std::string> titles;
    for (const auto& page : sheet.Pages())
        titles.push_back(page.title);
    return titles;
}

QColor SampleColour(QWidget& combo) {
    const QImage picture = combo.grab().toImage();
    return picture.pixelColor(12, picture.height() / 2);
}

class PropertyPagesTest : public ::testing::Test {
protected:
    PropertyPagesTest() {
        parent.resize(500, 400);
        graph.SetMetrics(&metrics);
        graph.Create("Graph Window", {0, 0, 450, 350}, &parent, 11000, 0x50000000);
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
        graph.SetAxisTexts("Time", "s", 0, graph::kXAxis, 1);
        graph.SetAxisTexts("Value", "dB", 2, graph::kYAxis, 1);
        graph.UpdateVisibleRange(CGraphPanel::kAutoExtend | CGraphPanel::kReadout, 0);
        graph.SetVisibleRange(-3.75, 12.9, -3.75, 12.9, 0);
        for (auto [colour, name] : {std::pair{kBlue, "Leq"}, {kRed, "Lmax"}, {kGreen, "UR"}})
            graph.AddGraph(colour, name, 0, true, false);
    }

    CGraphPanel& Panel() const { return *graph.Panel(); }
    graph::CGraphFrame& Frame() const {
        return static_cast<graph::GraphWindow*>(graph.Window())->Frame();
    }

    testenv::TestOperator op;
    graphtest::FixedMetrics metrics;
    QWidget parent;
    graph::CGraphWnd graph{32};
};

}  // namespace

TEST_F(PropertyPagesTest, OKTakesEveryPageBackAndCancelNone) {
    op.ExpectDialog("CGraphPropertySheet", [](platform::ModalDialog& dialog) {
        auto& sheet = static_cast<graph::CGraphPropertySheet&>(dialog);
        EXPECT_EQ(Titles(sheet), (std::vector<std::string>{"General", "Axis", "Graphs"}));
        auto& general = *sheet.FindPage<graph::CGraphPropertyPage>();
        EXPECT_EQ(general.m_x1, -3);
        EXPECT_EQ(general.m_x2, 12);
        EXPECT_EQ(general.m_y1, -3.7);
        EXPECT_EQ(general.m_y2, 12.9);
        EXPECT_EQ(general.m_nPointMarks, 0);
        EXPECT_EQ(general.m_nMouseCoords, 1);
        EXPECT_EQ(general.m_nAxis, 0);
        general.m_x1 = 0;
        general.m_x2 = 50;
        general.m_nAxis = 1;
        auto& axis = *sheet.FindPage<graph::CAxisPropertyPage>();
        EXPECT_EQ(axis.m_strXTitle, "Time");
        EXPECT_EQ(axis.m_nYPrecision, 2);
        axis.m_strXUnit = "min";
        axis.m_nXPrecision = 1;
        sheet.FindPage<graph::CGraphicsPropertyPage>()->OnHide();
        return IDOK;
    });
    Panel().OnMenuCommand(graph::kPropertiesCommand);
    EXPECT_EQ(Panel().Range(), (VisibleRange{0, 50, -3.7, 12.9}));
    EXPECT_EQ(Panel().Options(),
              CGraphPanel::kAutoExtend | CGraphPanel::kReadout | CGraphPanel::kAxis);
    EXPECT_EQ(graph.FormatAxisValue(2, graph::kXAxis, 1), "2.0 min");
    EXPECT_FALSE(graph.GetGraph(0)->IsVisible());
    EXPECT_TRUE(graph.GetGraph(1)->IsVisible());

    op.ExpectDialog("CGraphPropertySheet", [](platform::ModalDialog& dialog) {
        auto& sheet = static_cast<graph::CGraphPropertySheet&>(dialog);
        sheet.FindPage<graph::CGraphPropertyPage>()->m_x2 = 99;
        sheet.FindPage<graph::CGraphicsPropertyPage>()->OnShowAll();
        return IDCANCEL;
    });
    Panel().OnMenuCommand(graph::kPropertiesCommand);
    EXPECT_EQ(Panel().Range().xTo, 50);
    EXPECT_FALSE(graph.GetGraph(0)->IsVisible());
}

TEST_F(PropertyPagesTest, TheGraphsPageEditsItsCopiesWithItsButtons) {
    graph::CGraphicsPropertyPage page(graph);
    page.resize(300, 200);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto* hide = page.findChild<QPushButton*>("1023");
    auto* name = page.findChild<QLineEdit*>("1002");
    ASSERT_TRUE(hide && name);
    EXPECT_EQ(page.Copies().size(), 3u);
    EXPECT_EQ(page.Copies()[2].GetIndex(), 2);
    EXPECT_EQ(name->text(), "Leq");
    EXPECT_EQ(SampleColour(page.Combo()), platform::ToQColor(kBlue));

    QTest::mouseClick(hide, Qt::LeftButton);
    EXPECT_FALSE(page.Copies()[0].IsVisible());
    EXPECT_EQ(hide->text(), "Show");
    QTest::keyClick(&page.Combo(), Qt::Key_Down);
    EXPECT_EQ(name->text(), "Lmax");
    EXPECT_EQ(hide->text(), "Hide");
    QTest::mouseClick(hide, Qt::LeftButton);
    QTest::mouseClick(page.findChild<QPushButton*>("1028"), Qt::LeftButton);
    for (const graph::CGraphProps& copy : page.Copies())
        EXPECT_TRUE(copy.IsVisible());
    EXPECT_EQ(hide->text(), "Hide");

    op.ExpectDialog("CGraphTitlePrompt", [](platform::ModalDialog& dialog) {
        auto& prompt = static_cast<graph::CGraphTitlePrompt&>(dialog);
        EXPECT_EQ(prompt.m_strTitle, "Lmax");
        prompt.m_strTitle = "LAFmax";
        return IDOK;
    });
    QTest::mouseClick(page.findChild<QPushButton*>("1004"), Qt::LeftButton);
    EXPECT_EQ(page.Copies()[1].GetName(), "LAFmax");
    EXPECT_EQ(name->text(), "LAFmax");

    op.ExpectDialog("CColorDialog", [](platform::ModalDialog& dialog) {
        auto& chooser = static_cast<graph::CColorDialog&>(dialog);
        EXPECT_EQ(chooser.m_color, kRed);
        chooser.m_color = kGreen;
        return IDOK;
    });
    QTest::mouseClick(page.findChild<QPushButton*>("1005"), Qt::LeftButton);
    EXPECT_EQ(page.Copies()[1].GetColour(), kGreen);
    EXPECT_EQ(SampleColour(page.Combo()), platform::ToQColor(kGreen));
    EXPECT_EQ(graph.GetGraph(1)->GetColour(), kRed);  // the graph's own series wait for OK

    op.ExpectDialog("CColorDialog", [](platform::ModalDialog&) { return IDCANCEL; });
    QTest::mouseClick(page.findChild<QPushButton*>("1005"), Qt::LeftButton);
    EXPECT_EQ(page.Copies()[1].GetColour(), kGreen);
}

TEST_F(PropertyPagesTest, PagesShowTheirFieldsAndRefuseWhatDoesNotRead) {
    graph::CGraphPropertyPage general;
    general.Fill({-3.75, 12.9, -3.75, 12.9}, CGraphPanel::kPointMarks | CGraphPanel::kAxis);
    general.UpdateData(false);
    general.resize(300, 250);
    EXPECT_FALSE(general.grab().toImage().isNull());
    EXPECT_EQ(general.findChild<QLineEdit*>("1012")->text(), "-3");
    EXPECT_EQ(general.findChild<QLineEdit*>("1016")->text(), "-3.7");
    general.findChild<QLineEdit*>("1013")->setText("12,5");
    op.ExpectBox("Please enter a number.");
    EXPECT_FALSE(general.UpdateData(true));
    EXPECT_EQ(general.m_x2, 12);
    general.findChild<QLineEdit*>("1013")->setText(" 12.5 ");
    EXPECT_TRUE(general.UpdateData(true));
    EXPECT_EQ(general.m_x2, 12.5);

    graph::CAxisPropertyPage axis;
    axis.m_nXPrecision = 3;
    axis.UpdateData(false);
    auto* precision = axis.findChild<QLineEdit*>("1027");
    ASSERT_TRUE(precision);
    precision->setText("11");
    op.ExpectBox("between 0 and 10");
    EXPECT_FALSE(axis.UpdateData(true));
    precision->setText("x");
    op.ExpectBox("Please enter an integer.");
    EXPECT_FALSE(axis.UpdateData(true));
    EXPECT_EQ(axis.m_nXPrecision, 3);
    precision->setText("10");
    EXPECT_TRUE(axis.UpdateData(true));
    EXPECT_EQ(axis.m_nXPrecision, 10);
}

TEST_F(PropertyPagesTest, ThePointListsSheetHoldsThePanelsGeneralPageBesideTheWindowsPages) {
    graph.ForwardToFrame(graph::kShowPointList);
    graph::C3DListCtrl& list = Frame().PointList().ListWindow();
    op.ExpectDialog("GraphContextMenu", [](platform::ModalDialog& dialog) {
        const QMenu& menu = static_cast<graph::GraphContextMenu&>(dialog).Menu();
        std::vector<int> ids;
        for (const QAction* action : menu.actions())
            ids.push_back(action->data().toInt());
        EXPECT_EQ(ids, (std::vector<int>{graph::kPropertiesCommand, graph::kPointListCommand}));
        return graph::kPropertiesCommand;
    });
    op.ExpectDialog("CGraphPropertySheet", [](platform::ModalDialog& dialog) {
        auto& sheet = static_cast<graph::CGraphPropertySheet&>(dialog);
        EXPECT_EQ(Titles(sheet), (std::vector<std::string>{"General", "Axis", "Graphs"}));
        auto* general = sheet.FindPage<graph::CGraphPropertyPage>();
        if (!general) {
            ADD_FAILURE() << "no \"General\" page";
            return IDCANCEL;
        }
        EXPECT_EQ(general->m_x2, 12);
        general->m_x2 = 40;
        general->m_nPointMarks = 1;
        auto& graphs = *sheet.FindPage<graph::CGraphicsPropertyPage>();
        graphs.Combo().setCurrentIndex(2);
        graphs.OnSelChange();
        EXPECT_EQ(graphs.NameText(), "UR");
        graphs.OnHide();
        return IDOK;
    });
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, {10, 10});
    EXPECT_FALSE(graph.GetGraph(2)->IsVisible());
    EXPECT_EQ(Panel().Range(), (VisibleRange{-3, 40, -3.7, 12.9}));
    EXPECT_TRUE(Panel().Options() & CGraphPanel::kPointMarks);

    // Cancel takes nothing of the panel's page.
    op.ExpectDialog("GraphContextMenu",
                    [](platform::ModalDialog&) { return graph::kPropertiesCommand; });
    op.ExpectDialog("CGraphPropertySheet", [](platform::ModalDialog& dialog) {
        auto& sheet = static_cast<graph::CGraphPropertySheet&>(dialog);
        if (auto* general = sheet.FindPage<graph::CGraphPropertyPage>())
            general->m_x2 = 99;
        return IDCANCEL;
    });
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, {10, 10});
    EXPECT_EQ(Panel().Range().xTo, 40);
}
