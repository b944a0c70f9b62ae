#include "WishWiring.h"

#include "MainWindow.h"

namespace wt::ui {

WishWiring::WishWiring(TForm1& window, Dispatcher& dispatcher) : window_(window) {
    WishSearchContext context;
    context.client = &http_;
    context.dispatcher = &dispatcher;
    std::string root = window.zIniData1->ReadString(kDirectorySiteSetting, kDefaultDirectorySite);
    if (root.empty() || root.back() != '/') root += '/';
    context.rootUrl = root;
    context.showError = [this](const std::string& message) {
        window_.Dialogs().ShowMessage(&window_, MessageKind::Error, QString::fromStdString(message));
    };
    searches_ = std::make_unique<TNetWishSearches>(context);
    searches_->OnWishFound = [this](TNetWishObject*, const TWishInfo& info) { window_.Radio_WishFound(info); };

    // Without a directory there is nothing to ask: the wishes are kept, and searched once a
    // directory is set.
    const bool hasDirectory = root != "/";
    auto search = [this, hasDirectory](const std::string& wish) {
        if (hasDirectory) searches_->AddWish(wish);
    };
    window.Hooks().startWish = search;
    window.Hooks().manageWishList = [this, search] {
        WishSearchControl control;
        control.AddWish = search;
        control.RemoveWish = [this](const std::string& wish) { searches_->RemoveWish(wish); };
        control.StopAllWishes = [this] { searches_->StopAllWishes(); };
        if (window_.WishList && window_.NewWishes) {
            TForm7 dialog(&window_, window_.Dialogs(), *window_.zIniData1, *window_.WishList,
                          *window_.NewWishes, control);
            dialog.exec();
        }
        window_.ShowWishCount();
    };
}

}  // namespace wt::ui
