#include "zProgress.h"

#include "ProgForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>
#include <QProgressBar>

namespace wt {

namespace {

const std::vector<int16_t>& Chime() {
    static const std::vector<int16_t> samples = MakeFinishChime();
    return samples;
}

// A standard bar shows a zero range as a busy animation; show it as an empty bar instead.
void ShowOnBar(QProgressBar* bar, const BarValue& v) {
    bar->setRange(0, v.max > 0 ? v.max : 1);
    bar->setValue(v.max > 0 ? v.value : 0);
}

}  // namespace

TzProgress::TzProgress(QWidget* owner, QObject* parent)
    : QObject(parent),
      owner_(owner),
      color_(QApplication::palette().color(QPalette::ToolTipBase)),
      dialogs_(&ui::QtDialogs()),
      sound_(std::make_shared<NullSoundOutput>()) {
    font_ = QApplication::font();
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, [this] { DoClose(); });
}

TzProgress::~TzProgress() {
    destroying_ = true;
    DoClose();
}

TProgForm* TzProgress::Window() const { return form_; }

void TzProgress::SetProgressBarCount(int count) { barCount_ = NormalizeBarCount(count); }

QString TzProgress::ShownTitle() const {
    return title_.isEmpty() ? QApplication::applicationDisplayName() : title_;
}

QPixmap TzProgress::IconPixmap() const {
    if (!imageList_.isEmpty() && imageIndex_ >= 0 && imageIndex_ < imageList_.size()) return imageList_[imageIndex_];
    if (!picture_.isNull()) return picture_;
    // The program's icon is its main window's (the application has none of its own), and the
    // owner's window icon falls back to the application's.
    const QIcon icon = owner_ ? owner_->window()->windowIcon() : QApplication::windowIcon();
    return icon.pixmap(32, 32);
}

void TzProgress::SetTitle(const QString& title) {
    if (title == title_) return;
    title_ = title;
    if (form_ && !cancelled_) {
        form_->SetTexts(ShownTitle(), prompt_);
        form_->Arrange(owner_);
    }
}

void TzProgress::SetPrompt(const QString& prompt) {
    if (prompt == prompt_) return;
    prompt_ = prompt;
    if (form_ && !cancelled_) {
        form_->SetTexts(ShownTitle(), prompt_);
        form_->Arrange(owner_);
    }
}

void TzProgress::SetImageIndex(int index) {
    imageIndex_ = index;
    if (form_ && !cancelled_) form_->SetIcon(IconPixmap());
}

void TzProgress::SetMax(int value) {
    const bool changed = value != max_;
    max_ = value;
    if (changed && form_ && !cancelled_) {
        mainShown_.SetMax(max_);
        ShowOnBar(form_->MainBar(), mainShown_);
    }
}

void TzProgress::SetTopMax(int value) {
    const bool changed = value != topMax_;
    topMax_ = value;
    if (changed && form_ && !cancelled_) {
        topShown_.SetMax(topMax_);
        ShowOnBar(form_->TopBar(), topShown_);
    }
}

void TzProgress::SetPosition(int value) {
    const bool changed = value != position_;
    position_ = value;
    if (!changed || !form_ || cancelled_) return;
    Advance();
}

void TzProgress::SetTopPosition(int value) {
    const bool changed = value != topPosition_;
    topPosition_ = value;
    if (!changed || !form_ || cancelled_) return;
    if (barCount_ == 2) {
        Advance();
    } else if (topShown_.Set(topPosition_)) {
        ShowOnBar(form_->TopBar(), topShown_);
    }
}

// Moves both bars to the stored positions after looking for an Esc press; with AutoClose a full
// deciding bar starts the 100 ms close timer.
void TzProgress::Advance() {
    PollInput();
    if (escPending_ && enableCancel_) AskCancel();
    if (!form_ || cancelled_) return;

    if (mainShown_.Set(position_)) ShowOnBar(form_->MainBar(), mainShown_);
    if (topShown_.Set(topPosition_)) ShowOnBar(form_->TopBar(), topShown_);

    const BarValue& deciding = barCount_ == 2 ? topShown_ : mainShown_;
    if (autoClose_ && deciding.Full()) closeTimer_.start(100);
}

// Lets the GUI thread handle what is pending (painting, and an Esc press, which the event filter
// takes), at most once per poll interval so that a tight loop stays cheap.
void TzProgress::PollInput() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPoll_ < pollInterval_) return;
    lastPoll_ = now;
    QCoreApplication::processEvents();
}

bool TzProgress::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && form_ && enableCancel_ && !cancelled_ && !asking_) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            escPending_ = true;
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TzProgress::AskCancel() {
    escPending_ = false;
    if (asking_) return;
    bool cancel = true;
    if (OnCancel) OnCancel(this, cancel);
    if (!cancel || !form_) return;
    asking_ = true;
    const bool yes = dialogs_->AskYesNo(form_, ui::MessageKind::Confirmation, QString::fromLatin1(kCancelQuestionText),
                                        QApplication::applicationDisplayName());
    asking_ = false;
    if (yes && form_) {
        cancelled_ = true;
        closeTimer_.start(1000);
    }
}

void TzProgress::CreateWindow() {
    position_ = 0;
    topPosition_ = 0;
    cancelled_ = false;
    escPending_ = false;
    lastPoll_ = {};
    form_ = new TProgForm(*this);
    connect(form_, &QObject::destroyed, this, [this] {
        if (!destroying_) ReleaseOwner();
        imageIndex_ = -1;
    });
    mainShown_ = BarValue{max_, 0};
    topShown_ = BarValue{topMax_, 0};
    ShowOnBar(form_->MainBar(), mainShown_);
    ShowOnBar(form_->TopBar(), topShown_);
    form_->SetTexts(ShownTitle(), prompt_);
    form_->SetIcon(IconPixmap());
    form_->Arrange(owner_);
    qApp->installEventFilter(this);
}

void TzProgress::ShowProgress() {
    if (form_) {
        if (!form_->isVisible()) form_->show();
        return;
    }
    if (OnBeforeShow) OnBeforeShow(this);
    CreateWindow();
    if (owner_) owner_->setEnabled(false);
    form_->show();
    if (OnShow) OnShow(this);
}

void TzProgress::Execute() {
    if (form_) return;
    if (OnBeforeShow) OnBeforeShow(this);
    CreateWindow();
    form_->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(form_, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(0, this, [this] {
        if (OnExecute) OnExecute(this);
        QTimer::singleShot(1, this, [this] { CloseProgress(); });
    });
    form_->show();
    if (OnShow) OnShow(this);
    loop.exec();
}

void TzProgress::CloseProgress() { DoClose(); }

void TzProgress::ReleaseOwner() {
    if (owner_) owner_->setEnabled(true);
}

void TzProgress::DoClose() {
    if (!form_) return;
    closeTimer_.stop();
    TProgForm* form = form_;
    form_ = nullptr;
    qApp->removeEventFilter(this);
    if (!destroying_) ReleaseOwner();
    form->hide();
    if (finishSound_ && !destroying_ && sound_) sound_->PlayAsync(Chime(), kFinishChimeRate);
    if (cancelled_ && OnCanceled) OnCanceled(this);
    delete form;
    if (AfterClose) AfterClose(this);
}

}  // namespace wt
