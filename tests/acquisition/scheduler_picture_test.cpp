// Offscreen pictures of the scheduler window in two model presets: every control inside the
// window, none overlapping another, the texts drawn, and the form's states on the widgets.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QTimeEdit>

#include "acquisition/scheduler_dlg.h"
#include "fake_scheduler_host.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

using namespace acquisition;
using acqtest::FakeSchedulerHost;

namespace {

bool IsControl(const QWidget* widget) {
    bool number = false;
    widget->objectName().toInt(&number);
    return number;
}

int Ink(const QImage& picture, const QRect& area, const QColor& background) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += std::abs(picture.pixelColor(x, y).lightness() - background.lightness()) > 80;
    return ink;
}

void CheckPicture(QDialog& window, const std::string& file) {
    window.show();
    platform::EventLoop::ProcessPending();
    const QImage picture = window.grab().toImage();
    picture.save(QString::fromStdString(file));
    const QColor background = window.palette().color(QPalette::Window);
    std::vector<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>())
        if (IsControl(child) && child->isVisibleTo(&window))
            controls.push_back(child);
    EXPECT_GT(controls.size(), 30u);
    for (QWidget* control : controls) {
        const std::string name = control->objectName().toStdString();
        const QRect area(control->mapTo(&window, QPoint(0, 0)), control->size());
        EXPECT_TRUE(window.rect().contains(area)) << name;
        for (QWidget* other : controls) {
            if (other == control || other->parentWidget() != control->parentWidget())
                continue;
            const QRect otherArea(other->mapTo(&window, QPoint(0, 0)), other->size());
            EXPECT_FALSE(area.intersects(otherArea))
                << name << " overlaps " << other->objectName().toStdString();
        }
        const auto* button = qobject_cast<QAbstractButton*>(control);
        const auto* label = qobject_cast<QLabel*>(control);
        // Disabled texts are drawn grey.
        const bool text =
            (button && !button->text().isEmpty()) || (label && !label->text().isEmpty());
        if (text && control->isEnabled()) {
            EXPECT_GT(Ink(picture, area, background), 10) << name;
        }
    }
}

QWidget* Control(QDialog& window, int id) {
    return window.findChild<QWidget*>(QString::number(id));
}

}  // namespace

TEST(SchedulerPicture, TheWindowShowsItsFormInTwoPresets) {
    using namespace scheduler_ids;
    platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 10, 15, 30).Seconds());
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    struct Preset {
        const char* model;
        bool spectrum;
    };
    for (const Preset& preset : {Preset{"QS4160_00$1", true}, Preset{"QS4060_p0$1", false}}) {
        SCOPED_TRACE(preset.model);
        FakeSchedulerHost host(folder.Path());
        host.current.m_strModel = preset.model;
        CSchedulerDlg dlg(host.WindowUses());
        ASSERT_TRUE(dlg.Create());
        QDialog& window = *dlg.Window();
        EXPECT_EQ(window.windowTitle(), "KX9  SCHEDULER");
        CheckPicture(window, folder.File(std::string("scheduler_") + preset.model + ".png"));

        EXPECT_EQ(Control(window, kOctRadio)->isEnabled(), preset.spectrum);
        EXPECT_EQ(Control(window, kProfRadio)->isEnabled(), preset.spectrum);
        EXPECT_EQ(Control(window, kDataLogging)->isEnabled(), preset.spectrum);
        EXPECT_FALSE(Control(window, kAcquisitionTime)->isEnabled());
        EXPECT_FALSE(Control(window, kStop)->isEnabled());
        EXPECT_TRUE(qobject_cast<QAbstractButton*>(Control(window, kContinuous))->isChecked());
        EXPECT_EQ(qobject_cast<QTimeEdit*>(Control(window, kStartTime))->time(), QTime(10, 17));

        // Clicking "Continuous" off gives the intervals their defaults on screen.
        qobject_cast<QAbstractButton*>(Control(window, kContinuous))->click();
        EXPECT_TRUE(Control(window, kAcquisitionTime)->isEnabled());
        EXPECT_EQ(qobject_cast<QTimeEdit*>(Control(window, kRepetitionTime))->time(), QTime(0, 3));
        EXPECT_FALSE(dlg.Settings().continuous);
        qobject_cast<QAbstractButton*>(Control(window, kSlmRadio))->click();
        EXPECT_EQ(host.mode.ChannelMode(), testkinds::kSoundLevelMeter);
        dlg.DestroyWindow();
    }
    platform::Clock::SetFixedNow(std::nullopt);
}
