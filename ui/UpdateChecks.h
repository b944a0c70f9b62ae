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
    // The server's catalogue version when it is newer than the installed one, 0 when it is
    // not, -1 when the server could not be asked (the failure has been shown).
    virtual int NeedUpdate() = 0;
    // Downloads and merges catalogue version newVersion.
    virtual void Update(int newVersion) = 0;
    // Drops the connection of a running check (shutdown); errors are the caller's to ignore.
    virtual void Disconnect() {}
};

class NoUpdateChecks : public UpdateChecks {
public:
    void NeedWTUpdate() override {}
    int NeedUpdate() override { return 0; }
    void Update(int) override {}
};

}  // namespace wt::ui
