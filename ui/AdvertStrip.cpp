#include "AdvertStrip.h"

#include "net/HttpClient.h"
#include "platform/TextEncoding.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPointer>
#include <QTextBrowser>

namespace wt::ui {

namespace {
constexpr long kConnectTimeoutMs = 4000;
constexpr long kTotalTimeoutMs = 15000;
constexpr std::size_t kMaxPageBytes = 256 * 1024;
}  // namespace

AdvertStrip::AdvertStrip(QWidget* parent)
    : QFrame(parent), browser_(new QTextBrowser(this)) {
    browser_->setFrameShape(QFrame::NoFrame);
    browser_->setOpenLinks(false);
    browser_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    browser_->setGeometry(15, -15, 1, 1);
    connect(browser_, &QTextBrowser::anchorClicked, this, &AdvertStrip::LinkActivated);
    openLink_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    net::HttpOptions options;
    options.connectTimeoutMs = kConnectTimeoutMs;
    options.totalTimeoutMs = kTotalTimeoutMs;
    http_ = std::make_unique<net::HttpClient>(options);
    worker_ = std::thread([this] { WorkerLoop(); });
}

AdvertStrip::~AdvertStrip() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    http_->Cancel();
    wake_.notify_all();
    worker_.join();
}

void AdvertStrip::Reload() {
    browser_->setGeometry(15, -15, 1, 1);
    Request();
}

void AdvertStrip::Navigate() { Request(); }

void AdvertStrip::Request() {
    std::string url = pageUrl_ ? pageUrl_().toStdString() : std::string();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++requested_;
        requestedUrl_ = url;
    }
    wake_.notify_all();
}

void AdvertStrip::WorkerLoop() {
    std::uint64_t fetched = 0;
    for (;;) {
        std::string url;
        std::uint64_t generation;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || requested_ != fetched; });
            if (stopping_) return;
            generation = requested_;
            url = requestedUrl_;
        }
        fetched = generation;
        std::string body;
        bool ok = !url.empty();
        if (ok) {
            try {
                http_->Get(url, [&](std::string_view bytes) {
                    if (body.size() + bytes.size() > kMaxPageBytes) return false;
                    body.append(bytes);
                    return true;
                });
            } catch (const std::exception&) {
                ok = false;  // a page that never arrives leaves the strip empty
            }
        }
        if (!ok) continue;
        QString html = QString::fromStdString(DecodeText(body));
        QPointer<AdvertStrip> self(this);
        QMetaObject::invokeMethod(
            this, [self, generation, html] { if (self) self->Show(generation, html); },
            Qt::QueuedConnection);
    }
}

void AdvertStrip::Show(std::uint64_t generation, const QString& html) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (generation != requested_) return;  // a newer reload is on its way
    }
    browser_->setHtml(html);
    browser_->setGeometry(15, -15, kLoadedWidth, kLoadedHeight);
    ++completed_;
    emit DocumentComplete();
}

void AdvertStrip::LinkActivated(const QUrl& url) {
    // The page asked for a new window: the desktop's browser opens it, and the strip reloads.
    Reload();
    if (openLink_) openLink_(url);
}

void AdvertStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Navigate();
    QFrame::mousePressEvent(event);
}

}  // namespace wt::ui
