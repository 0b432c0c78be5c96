// The prompts of a benchmark that drives the real window: no question is
// ever asked, every one would be cancelled.
#pragma once

#include "prompts.h"

class TNoPrompts : public TPrompts {
  public:
    std::optional<QString> AskFileName(TFileDialog) override { return std::nullopt; }
    std::optional<QSize> AskNewSkinSize() override { return std::nullopt; }
    std::optional<QString> AskName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<TColor> AskColor(TColor) override { return std::nullopt; }
    bool AskYesNo(const QString&, const QString&) override { return false; }
    TSaveAnswer AskSaveChanges(const QString&) override { return TSaveAnswer::DontSave; }
    void ShowError(const QString&) override {}
    void Beep() override {}
    void ViewPicture(const QImage&) override {}
    void ShowAbout() override {}
};
