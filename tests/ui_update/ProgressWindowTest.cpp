#include "ScriptedDialogs.h"
#include "ui/update/ProgForm.h"
#include "ui/update/zProgress.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProgressBar>
#include <QWidget>

namespace wt {
namespace {

class CountingSound : public SoundOutput {
public:
    void PlayAsync(const std::vector<int16_t>& samples, int rate) override {
        ++plays;
        lastSize = samples.size();
        lastRate = rate;
    }
    int plays = 0;
    size_t lastSize = 0;
    int lastRate = 0;
};

bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

class ProgressWindow : public ::testing::Test {
protected:
    void SetUp() override {
        owner.resize(640, 480);
        owner.show();
        progress.SetSoundOutput(sound);
        progress.SetInputPollInterval(std::chrono::milliseconds(0));
        progress.SetDialogs(dialogs);
    }
    void PressEsc() { QCoreApplication::postEvent(&owner, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier)); }

    QWidget owner;
    TzProgress progress{&owner};
    std::shared_ptr<CountingSound> sound = std::make_shared<CountingSound>();
    test::ScriptedDialogs dialogs;  // answers No unless told Yes
};

TEST_F(ProgressWindow, ShowsBorderlessOnTopAndDisablesTheOwnerUntilClosed) {
    progress.SetMax(5);
    progress.SetPosition(3);  // stored; the new window starts at 0
    progress.ShowProgress();
    TProgForm* form = progress.Window();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->windowFlags() & Qt::Tool);
    EXPECT_FALSE(form->mask().isEmpty());
    EXPECT_FALSE(form->mask().contains(QPoint(0, 0)));  // rounded corner cut away
    EXPECT_EQ(form->width(), 252);
    EXPECT_EQ(progress.Position(), 0);
    EXPECT_FALSE(form->TopBar()->isVisible());
    EXPECT_EQ(form->MainBar()->geometry(), QRect(52, form->height() - 25, 180, 10));
    // Placed over the active window, or the visible owner: centred, top at its middle.
    const QWidget* over = QApplication::activeWindow() ? QApplication::activeWindow() : &owner;
    const QPoint overTop = over->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(form->pos(), QPoint(overTop.x() + (over->width() - 252) / 2, overTop.y() + over->height() / 2));

    progress.ShowProgress();  // already showing: same window
    EXPECT_EQ(progress.Window(), form);

    progress.CloseProgress();
    EXPECT_EQ(progress.Window(), nullptr);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(sound->plays, 1);
    EXPECT_EQ(sound->lastRate, 22050);
    EXPECT_NEAR(sound->lastSize / 22050.0, 0.14, 0.01);
    progress.CloseProgress();  // no window: nothing
    EXPECT_EQ(sound->plays, 1);
}

TEST_F(ProgressWindow, AutoClosePlaysTheSoundOnceWhicheverCloseComesFirst) {
    for (bool timerFirst : {true, false}) {
        SCOPED_TRACE(timerFirst);
        sound->plays = 0;
        int afterClose = 0;
        progress.AfterClose = [&](TzProgress*) { ++afterClose; };
        progress.SetMax(3);
        progress.ShowProgress();
        for (int i = 1; i <= 2; ++i) progress.SetPosition(i);
        EXPECT_FALSE(progress.CloseTimerActive());
        progress.SetPosition(3);
        EXPECT_TRUE(progress.CloseTimerActive());
        EXPECT_EQ(progress.CloseTimerInterval(), 100);
        if (timerFirst) {
            EXPECT_TRUE(WaitFor([&] { return progress.Window() == nullptr; }));
        }
        progress.CloseProgress();
        EXPECT_EQ(progress.Window(), nullptr);
        EXPECT_EQ(sound->plays, 1);
        EXPECT_EQ(afterClose, 1);
        EXPECT_TRUE(owner.isEnabled());
    }
}

TEST_F(ProgressWindow, ZeroMaxNeverClosesByItselfAndNoSoundWhenSwitchedOff) {
    progress.SetMax(0);
    progress.SetFinishSound(false);
    progress.ShowProgress();
    progress.SetPosition(1);
    progress.SetPosition(0);
    EXPECT_FALSE(progress.CloseTimerActive());
    progress.CloseProgress();
    EXPECT_EQ(progress.Window(), nullptr);
    EXPECT_EQ(sound->plays, 0);
}

TEST_F(ProgressWindow, TwoBarsDecideByTheUpperBar) {
    progress.SetProgressBarCount(7);
    EXPECT_EQ(progress.ProgressBarCount(), 2);
    progress.SetMax(2);
    progress.SetTopMax(4);
    progress.ShowProgress();
    EXPECT_TRUE(progress.Window()->TopBar()->isVisible());
    progress.SetPosition(2);  // the main bar is full but does not decide
    EXPECT_FALSE(progress.CloseTimerActive());
    progress.SetTopPosition(4);
    EXPECT_TRUE(progress.CloseTimerActive());
    progress.CloseProgress();
}

TEST_F(ProgressWindow, EscAnsweredNoKeepsRunningAndYesCancelsTheDisplayOnly) {
    int canceled = 0;
    progress.OnCanceled = [&](TzProgress*) { ++canceled; };
    progress.SetMax(10);
    progress.ShowProgress();

    PressEsc();
    progress.SetPosition(1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].type, test::ShownDialog::Type::Question);
    EXPECT_EQ(dialogs.shown[0].caption + "|" + dialogs.shown[0].text, "Wavetrap|Do you really want to CANCEL current process?");
    EXPECT_FALSE(progress.Cancelled());
    EXPECT_EQ(progress.MainBarValue().value, 1);

    dialogs.AnswerYes();
    PressEsc();
    progress.SetPosition(2);
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_TRUE(progress.CloseTimerActive());
    EXPECT_EQ(progress.CloseTimerInterval(), 1000);
    progress.SetPosition(3);  // a cancelled window takes no more values
    EXPECT_EQ(progress.MainBarValue().value, 1);
    EXPECT_EQ(progress.Position(), 3);
    progress.CloseProgress();
    EXPECT_EQ(canceled, 1);
    EXPECT_EQ(sound->plays, 1);
    EXPECT_TRUE(owner.isEnabled());

    progress.ShowProgress();  // a new run clears the cancelled flag
    EXPECT_FALSE(progress.Cancelled());
    progress.CloseProgress();
    EXPECT_EQ(canceled, 1);
}

TEST_F(ProgressWindow, OnCancelCanVetoAndDisabledCancelIgnoresEsc) {
    progress.OnCancel = [](TzProgress*, bool& cancel) { cancel = false; };
    progress.SetMax(10);
    progress.ShowProgress();
    PressEsc();
    progress.SetPosition(1);
    EXPECT_TRUE(dialogs.shown.empty());
    progress.CloseProgress();

    progress.OnCancel = nullptr;
    progress.SetEnableCancel(false);
    progress.ShowProgress();
    PressEsc();
    progress.SetPosition(1);
    EXPECT_TRUE(dialogs.shown.empty());
    progress.CloseProgress();
}

TEST_F(ProgressWindow, LongTitleWidensTheWindowAndEmptyTitleShowsTheApplication) {
    EXPECT_EQ(progress.ShownTitle(), "Wavetrap");
    progress.SetTitle(QString(120, QChar('W')));
    progress.ShowProgress();
    EXPECT_GT(progress.Window()->width(), 252);
    progress.CloseProgress();
}

TEST_F(ProgressWindow, ModalUseRunsExecuteThenCloses) {
    int executed = 0;
    progress.OnExecute = [&](TzProgress* p) {
        ++executed;
        EXPECT_NE(p->Window(), nullptr);
    };
    progress.Execute();
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(progress.Window(), nullptr);
}

}  // namespace
}  // namespace wt
