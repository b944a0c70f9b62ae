// A user schedules recordings: from the Manage button a schedule a few seconds ahead for a
// station, whose rip appears by itself in the Downloading list marked "Scheduled until HH:MM"
// while the window is in the tray, writes its songs and ends at its time; from a station's menu a weekly one, switched off in
// the list and kept in the settings.
#include "ProgramSession.h"

#include "IcyTestServer.h"

#include "schedule/ScheduleText.h"
#include "settings/SettingNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

enum Column { kCaption, kBitRate, kStatus, kRipped, kSong };

template <typename T>
T* Named(QWidget* root, const QString& name) {
    for (T* widget : root->findChildren<T*>())
        if (widget->accessibleName() == name && widget->isVisible()) return widget;
    ADD_FAILURE() << "no widget named " << name.toStdString();
    return nullptr;
}

// Clicks into a date or time field, selects its first part with Shift+Right and types the
// digits over it, part by part, as a person retypes "2026-12-11" or "20:00:00" (the field
// moves on to the next part by itself).
void Retype(QWidget* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, field->height() / 2));
    QTest::keyClick(field, Qt::Key_Home);
    const QString shown = static_cast<QAbstractSpinBox*>(field)->text();
    for (int i = 0; i < shown.size() && shown[i].isDigit(); ++i)
        QTest::keyClick(field, Qt::Key_Right, Qt::ShiftModifier);
    QString digits = text;
    digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    Type(field, digits);
    EXPECT_EQ(static_cast<QAbstractSpinBox*>(field)->text(), text);
}

// Selects a number field's text and types over it.
void Renumber(QWidget* field, const QString& text) {
    ASSERT_NE(field, nullptr);
    ClickWidget(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    Type(field, text);
}

QStringList StoredSchedules(ui::TForm1& w) {
    return QString::fromStdString(w.zIniData1->ReadString(setting::kSchedules, ""))
        .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TEST(ScheduleStory, AScheduleAddedFromTheButtonRecordsByItselfAndEndsAtItsTime) {
    // Each song is 25 blocks of 40 ms: a second; the last one runs past the schedule's end.
    test::IcyTestServer station({{"Opening", 25}, {"Main Show", 25}, {"Closing", 1000}}, 2048, 40);
    ProgramSession session({Station("Jazz", "Loop FM", 128, station.Url()),
                             Station("Rock", "Other FM", 64, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();

    const QDateTime start = QDateTime::currentDateTime().addSecs(3);
    const QDateTime end = start.addSecs(6);
    session.answers.ThenAct([&](QWidget* list) {
        Click(list, "Add");
        QTreeWidget* schedules = Named<QTreeWidget>(list, "Schedules");
        ASSERT_NE(schedules, nullptr);
        ASSERT_EQ(schedules->topLevelItemCount(), 1);
        QTreeWidgetItem* row = schedules->topLevelItem(0);
        EXPECT_EQ(row->text(0), "Loop FM");
        EXPECT_EQ(row->checkState(0), Qt::Checked);
        EXPECT_EQ(row->text(1), "Once on " + start.toString("yyyy-MM-dd") + " at " + start.toString("HH:mm:ss"));
        EXPECT_EQ(row->text(2), "until " + end.toString("HH:mm:ss"));
        EXPECT_EQ(row->text(3), "Genre folder (Jazz)");
        EXPECT_TRUE(w.Tray->toolTip().contains("Next recording: Loop FM, ")) << w.Tray->toolTip().toStdString();
        Click(list, "Close");
    });
    session.answers.ThenAct([&](QWidget* edit) {
        QComboBox* stationBox = Named<QComboBox>(edit, "Station");
        ASSERT_NE(stationBox, nullptr);
        ClickWidget(stationBox);
        Type(stationBox, "Loop FM");
        Retype(Named<QDateEdit>(edit, "First day"), start.toString("yyyy-MM-dd"));
        Retype(Named<QTimeEdit>(edit, "Start time"), start.toString("HH:mm:ss"));
        Click(edit, "Until");
        Retype(Named<QTimeEdit>(edit, "End time"), end.toString("HH:mm:ss"));
        Click(edit, "OK");
    });
    Click(&w, "Schedule Recordings");
    ASSERT_TRUE(session.answers.AllAnswered());
    EXPECT_EQ(StoredSchedules(w).size(), 1);

    // The user sends the window to the tray (the window manager's minimise) and leaves it:
    // the rip starts at its time.
    ClickTab(w.TeSPageControl1, "Downloading");
    QSignalSpy toTray(&w, &ui::TForm1::SentToTray);
    w.setWindowState(w.windowState() | Qt::WindowMinimized);
    ASSERT_TRUE(WaitFor([&] { return toTray.count() == 1; }));
    QTreeWidgetItem* rip = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (rip = FindItem(w.TeListView1, "Loop FM")) != nullptr; }, 8000));
    EXPECT_GE(QDateTime::currentDateTime().secsTo(start), -1) << "not before its time";
    EXPECT_EQ(rip->text(kBitRate), "128");
    const QString until = "Scheduled until " + end.toString("HH:mm");
    ASSERT_TRUE(WaitFor([&] { return rip->text(kStatus) == "Ripping \u00b7 " + until; }, 5000))
        << rip->text(kStatus).toStdString();
    EXPECT_TRUE(w.Tray->toolTip().contains("Recording Loop FM until " + end.toString("HH:mm")));
    ASSERT_TRUE(WaitFor([&] { return rip->text(kSong) == "Closing"; }, 8000));

    // At its end the row says so and goes; the song in progress is kept.
    ASSERT_TRUE(WaitFor([&] { return FindItem(w.TeListView1, "Loop FM") == nullptr; }, 10000));
    EXPECT_GE(QDateTime::currentDateTime().secsTo(end), -3);
    const std::string jazz = session.MusicFolder() + "Jazz/";
    EXPECT_EQ(ReadWhole(jazz + "Opening.mp3"), station.Song(0));
    EXPECT_EQ(ReadWhole(jazz + "Main Show.mp3"), station.Song(1));
    const auto closing = fs::file_size(jazz + "Closing.mp3");
    EXPECT_GT(closing, 0u);
    EXPECT_LT(closing, station.Song(2).size()) << "stopped at the end, not at the song's end";
    EXPECT_TRUE(w.Radio->Channels().empty());
    EXPECT_FALSE(w.Tray->toolTip().contains("Loop FM")) << "nothing left to record";
    PickFromMenu(w.Tray->contextMenu(), "Restore");
    EXPECT_TRUE(WaitFor([&] { return w.isVisible() && !w.isMinimized(); }));
}

TEST(ScheduleStory, AWeeklyScheduleFromAStationsMenuIsSwitchedOffInTheList) {
    ProgramSession session({Station("Jazz", "Loop FM", 128, "http://127.0.0.1:9/jazz")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ASSERT_NO_FATAL_FAILURE(PickStation(w, "Jazz", "Loop FM"));

    session.answers.ThenAct([&](QWidget* edit) {
        QComboBox* stationBox = Named<QComboBox>(edit, "Station");
        ASSERT_NE(stationBox, nullptr);
        EXPECT_EQ(stationBox->currentText(), "Loop FM");
        Retype(Named<QTimeEdit>(edit, "Start time"), "20:00:00");
        Renumber(Named<QSpinBox>(edit, "Minutes"), "120");
        Click(edit, "On these days");
        Click(edit, "Mon");
        Click(edit, "Fri");
        Click(edit, "OK");
    });
    session.answers.ThenAct([&](QWidget* list) {
        // The edit form for the station opens first; the list shows its schedule after OK.
        QTreeWidget* schedules = Named<QTreeWidget>(list, "Schedules");
        ASSERT_NE(schedules, nullptr);
        ASSERT_TRUE(WaitFor([&] { return schedules->topLevelItemCount() == 1; }));
        QTreeWidgetItem* row = schedules->topLevelItem(0);
        EXPECT_EQ(row->text(1), "Mon, Fri at 20:00");
        EXPECT_EQ(row->text(2), "2 h");
        EXPECT_TRUE(row->text(4).endsWith(" 20:00")) << row->text(4).toStdString();
        // The on/off box.
        const QRect box = schedules->visualItemRect(row);
        QTest::mouseClick(schedules->viewport(), Qt::LeftButton, {}, QPoint(box.left() + 10, box.center().y()));
        // The list is filled again after each change.
        ASSERT_TRUE(WaitFor([&] { return schedules->topLevelItem(0)->text(4) == "off"; }));
        EXPECT_EQ(schedules->topLevelItem(0)->checkState(0), Qt::Unchecked);
        Click(list, "Close");
    });
    ContextMenu(w.BrowseList, FindItem(w.BrowseList, "Loop FM"), "Schedule recording...");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));

    const QStringList stored = StoredSchedules(w);
    ASSERT_EQ(stored.size(), 1);
    auto schedule = schedule::ParseSchedule(stored[0].toStdString());
    ASSERT_TRUE(schedule);
    EXPECT_FALSE(schedule->enabled);
    EXPECT_EQ(schedule->url, "http://127.0.0.1:9/jazz");
    EXPECT_EQ(schedule->repeat, schedule::Repeat::Weekdays);
    EXPECT_EQ(schedule->weekdays, 1 | 1 << 4);
    EXPECT_EQ(schedule->durationSeconds, 7200);
    EXPECT_EQ(w.Tray->toolTip(), QString::fromLatin1(ui::kWindowCaption)) << "an off schedule is not next";
}

}  // namespace
}  // namespace wt::acceptance
