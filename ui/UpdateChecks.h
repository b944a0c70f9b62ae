#pragma once
// The update server's checks that start-up and the first activation run. The catalogue update
// plugs its own implementation in; until then the window uses NoUpdateChecks, which never
// finds anything newer.
namespace wt::ui {

class UpdateChecks {
public:
    virtual ~UpdateChecks() = default;
    // Window creation: tells the user about a newer program release.
    virtual void NeedWTUpdate() = 0;
    // The window's first activation: with "AutoUpdate" on, offers a newer catalogue and
    // updates when the user says so (the question and the update are the checks' own).
    virtual void FirstActivation() = 0;
    // Drops the connection of a running check (shutdown); errors are the caller's to ignore.
    virtual void Disconnect() {}
};

class NoUpdateChecks : public UpdateChecks {
public:
    void NeedWTUpdate() override {}
    void FirstActivation() override {}
};

}  // namespace wt::ui
