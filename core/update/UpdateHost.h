#pragma once
// What the catalogue update needs from the window that runs it: message boxes, the web browser,
// the progress window, the genre tree, and a way to wait for a request while staying responsive.
#include <functional>
#include <string>

namespace wt {

class UpdateHost {
public:
    virtual ~UpdateHost() = default;
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // An information question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual void OpenWebSite(const std::string& url) = 0;

    // The progress window: TopMax and Max := count, Position := 0, ShowProgress.
    virtual void ProgressStart(int count) = 0;
    virtual void ProgressPosition(int position) = 0;
    virtual void ProgressClose() = 0;

    // Rebuilds the genre list and tree after the catalogue changed.
    virtual void LoadGenres() = 0;

    // Runs a blocking request and returns when it has returned, rethrowing what it threw. A GUI
    // keeps handling its events meanwhile; the default just calls it.
    virtual void RunRequest(const std::function<void()>& request) { request(); }
};

}  // namespace wt
