#pragma once
// TzProgress: a small borderless, always-on-top progress window with one or two bars. The owner
// window is disabled while it shows; Esc offers to cancel; it closes itself when the deciding bar
// is full and plays a short chime as it closes. The user drives it from its own loop by setting
// Position (and TopPosition), and ends it with CloseProgress.
#include "FinishChime.h"
#include "ProgressLayout.h"
#include "UserDialogs.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class QWidget;

namespace wt {

class TProgForm;

class TzProgress : public QObject {
    Q_OBJECT
public:
    explicit TzProgress(QWidget* owner, QObject* parent = nullptr);
    ~TzProgress() override;

    void ShowProgress();
    void CloseProgress();
    // Modal use: shows the window modally, runs OnExecute once it shows, then closes.
    void Execute();

    int ProgressBarCount() const { return barCount_; }
    void SetProgressBarCount(int count);
    QString Title() const { return title_; }
    void SetTitle(const QString& title);
    QString Prompt() const { return prompt_; }
    void SetPrompt(const QString& prompt);
    int Position() const { return position_; }
    void SetPosition(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int TopPosition() const { return topPosition_; }
    void SetTopPosition(int value);
    int TopMax() const { return topMax_; }
    void SetTopMax(int value);
    int Step() const { return step_; }
    void SetStep(int value) { step_ = value; }
    bool AutoClose() const { return autoClose_; }
    void SetAutoClose(bool on) { autoClose_ = on; }
    bool EnableCancel() const { return enableCancel_; }
    void SetEnableCancel(bool on) { enableCancel_ = on; }
    bool FinishSound() const { return finishSound_; }
    void SetFinishSound(bool on) { finishSound_ = on; }
    QFont Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    QColor Color() const { return color_; }
    void SetColor(const QColor& color) { color_ = color; }
    TBackMode BackMode() const { return backMode_; }
    void SetBackMode(TBackMode mode) { backMode_ = mode; }
    QColor StartColor() const { return startColor_; }
    void SetStartColor(const QColor& c) { startColor_ = c; }
    QColor EndColor() const { return endColor_; }
    void SetEndColor(const QColor& c) { endColor_ = c; }
    QPixmap WallPaper() const { return wallPaper_; }
    void SetWallPaper(const QPixmap& p) { wallPaper_ = p; }
    QPixmap Picture() const { return picture_; }
    void SetPicture(const QPixmap& p) { picture_ = p; }
    QList<QPixmap> ImageList() const { return imageList_; }
    void SetImageList(const QList<QPixmap>& list) { imageList_ = list; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    // Events, each skipped when unassigned. OnCancel may set Cancel to false to veto the cancel.
    std::function<void(TzProgress*)> OnBeforeShow;
    std::function<void(TzProgress*)> OnShow;
    std::function<void(TzProgress*)> OnExecute;
    std::function<void(TzProgress*, bool& Cancel)> OnCancel;
    std::function<void(TzProgress*)> OnCanceled;
    std::function<void(TzProgress*)> AfterClose;

    // Seams: where the cancel question is asked (the real boxes by default; the question stays
    // above the topmost progress window) and the sound output. dialogs must outlive this.
    void SetDialogs(ui::UserDialogs& dialogs) { dialogs_ = &dialogs; }
    void SetSoundOutput(std::shared_ptr<SoundOutput> output) { sound_ = std::move(output); }
    // How often advancing lets the window process pending events (repaint, the Esc key).
    void SetInputPollInterval(std::chrono::milliseconds interval) { pollInterval_ = interval; }

    bool Cancelled() const { return cancelled_; }
    TProgForm* Window() const;
    bool CloseTimerActive() const { return closeTimer_.isActive(); }
    int CloseTimerInterval() const { return closeTimer_.interval(); }
    // The values the main and upper bars show.
    const BarValue& MainBarValue() const { return mainShown_; }
    const BarValue& TopBarValue() const { return topShown_; }

    // The icon the window shows: the image list entry, else Picture, else the owner's window icon.
    QPixmap IconPixmap() const;
    // The title the window shows: Title, or the application's name when it is empty.
    QString ShownTitle() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateWindow();
    void Advance();
    void PollInput();
    void AskCancel();
    void DoClose();
    void ReleaseOwner();

    QPointer<QWidget> owner_;
    QPointer<TProgForm> form_;
    BarValue mainShown_, topShown_;  // what the two bars show while the window exists
    QTimer closeTimer_;
    bool cancelled_ = false;
    bool escPending_ = false;
    bool asking_ = false;
    bool destroying_ = false;
    std::chrono::steady_clock::time_point lastPoll_{};
    std::chrono::milliseconds pollInterval_{25};

    int barCount_ = 1;
    QString title_, prompt_;
    int position_ = 0, max_ = 100, topPosition_ = 0, topMax_ = 100, step_ = 10;
    bool autoClose_ = true, enableCancel_ = true, finishSound_ = true;
    QFont font_;
    QColor color_;
    TBackMode backMode_ = TBackMode::bmDefault;
    QColor startColor_{0xC0, 0xC0, 0xC0}, endColor_{0xFF, 0xFF, 0xFF};
    QPixmap wallPaper_, picture_;
    QList<QPixmap> imageList_;
    int imageIndex_ = -1;

    ui::UserDialogs* dialogs_;
    std::shared_ptr<SoundOutput> sound_;
};

inline const char* const kCancelQuestionText = "Do you really want to CANCEL current process?";

}  // namespace wt
