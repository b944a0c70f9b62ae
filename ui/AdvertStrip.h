#pragma once
// The advertisement strip at the top of the window: a light HTML view of the advertisement
// page. A reload shrinks the view to 1 x 1 pixel and fetches the page on a worker thread; when
// the newest requested page has arrived ("document complete") the view grows to 550 x 130.
// The view sits at x = 15, y = -15 inside the strip, so the page's top 15 pixels are cut off.
// A link followed inside the page opens in the desktop's browser and reloads the strip.
#include <QFrame>
#include <QString>
#include <QUrl>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QTextBrowser;

namespace wt::net { class HttpClient; }

namespace wt::ui {

class AdvertStrip : public QFrame {
    Q_OBJECT
public:
    static constexpr int kLoadedWidth = 550;
    static constexpr int kLoadedHeight = 130;

    explicit AdvertStrip(QWidget* parent = nullptr);
    ~AdvertStrip() override;

    // The address of the advertisement page, asked at each reload.
    void SetPageUrl(std::function<QString()> pageUrl) { pageUrl_ = std::move(pageUrl); }
    // Opens a followed link; the desktop's default handler unless a test replaces it.
    void SetLinkOpener(std::function<void(const QUrl&)> opener) { openLink_ = std::move(opener); }

    // Shrinks the view to 1 x 1 and asks for the page; returns at once.
    void Reload();
    // Asks for the page again without changing the view's size (a click on the strip).
    void Navigate();

    QTextBrowser* Browser() const { return browser_; }
    // How many pages have completed (for tests and the measurement tool).
    int CompletedLoads() const { return completed_; }

signals:
    // The newest requested page is showing.
    void DocumentComplete();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Request();
    void WorkerLoop();
    void Show(std::uint64_t generation, const QString& html);
    void LinkActivated(const QUrl& url);

    QTextBrowser* browser_;
    std::function<QString()> pageUrl_;
    std::function<void(const QUrl&)> openLink_;
    int completed_ = 0;

    std::unique_ptr<net::HttpClient> http_;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::uint64_t requested_ = 0;  // guarded by mutex_: generation of the newest request
    std::string requestedUrl_;     // guarded by mutex_
    bool stopping_ = false;        // guarded by mutex_
};

}  // namespace wt::ui
