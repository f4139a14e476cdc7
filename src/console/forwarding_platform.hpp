// A platform that passes everything on to another one: the base of the
// wrappers that watch, record or replay a game, which override only what
// they change.
#pragma once

#include "console/platform.hpp"

namespace tg {

class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& inner) : inner_(&inner) {}

    Key ReadKey() override { return inner_->ReadKey(); }
    std::optional<std::string> ReadWord() override { return inner_->ReadWord(); }
    void DiscardLine() override { inner_->DiscardLine(); }
    void Write(std::string_view text) override { inner_->Write(text); }
    void SetColours(int foreground, int background) override { inner_->SetColours(foreground, background); }
    void Clear() override { inner_->Clear(); }
    void Pause(int milliseconds) override { inner_->Pause(milliseconds); }
    int KeyWithin(int milliseconds) override { return inner_->KeyWithin(milliseconds); }
    int EndOfInputStatus() const override { return inner_->EndOfInputStatus(); }
    void SetTitle(std::string_view title) override { inner_->SetTitle(title); }
    void KeepLastScreen() override { inner_->KeepLastScreen(); }

protected:
    Platform& Inner() const { return *inner_; }
    // From now on everything goes to `inner`.
    void ForwardTo(Platform& inner) { inner_ = &inner; }

private:
    Platform* inner_;
};

}  // namespace tg
