// A document, scripted answers and counted repaints for driving the editing
// commands without a main window.
#pragma once

#include "editor_context.h"
#include "sample_skin.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

class TTestPrompts : public TPrompts {
  public:
    std::deque<std::optional<QString>> FileNames;
    std::deque<std::optional<QString>> Names;
    std::deque<std::optional<TColor>> Colors;
    std::deque<bool> YesNo;

    QStringList Asked;
    QStringList Errors;
    std::vector<TColor> ColorQuestions;
    std::vector<QImage> Viewed;
    struct TNameQuestion {
        QString Caption, Prompt, Text;
    };
    std::vector<TNameQuestion> NameQuestions;
    struct TYesNoQuestion {
        QString Caption, Text;
    };
    std::vector<TYesNoQuestion> YesNoQuestions;

    std::optional<QString> AskFileName(TFileDialog dialog) override {
        Asked << QStringLiteral("AskFileName %1").arg(int(dialog));
        return Take(FileNames);
    }
    std::optional<QSize> AskNewSkinSize() override { return std::nullopt; }
    std::optional<QString> AskName(const QString& caption, const QString& prompt,
                                   const QString& text) override {
        Asked << QStringLiteral("AskName");
        NameQuestions.push_back({caption, prompt, text});
        return Take(Names);
    }
    std::optional<TColor> AskColor(TColor initial) override {
        Asked << QStringLiteral("AskColor");
        ColorQuestions.push_back(initial);
        return Take(Colors);
    }
    bool AskYesNo(const QString& caption, const QString& text) override {
        Asked << QStringLiteral("AskYesNo");
        YesNoQuestions.push_back({caption, text});
        if (YesNo.empty()) return false;
        const bool answer = YesNo.front();
        YesNo.pop_front();
        return answer;
    }
    void ShowError(const QString& text) override {
        Asked << QStringLiteral("ShowError");
        Errors << text;
    }
    void Beep() override { Asked << QStringLiteral("Beep"); }
    void ViewPicture(const QImage& picture) override {
        Asked << QStringLiteral("ViewPicture");
        Viewed.push_back(picture);
    }
    void ShowAbout() override {}

  private:
    template <class T> static std::optional<T> Take(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) return std::nullopt;
        std::optional<T> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Counts the repaints; Log keeps their order with the other events a test records.
struct TEditingFixture {
    TSkinDocument Doc = MakeDefaultSkin();
    TTestPrompts Prompts;
    QStringList Log;
    int Selected = -1;
    TEditorContext Context{Doc, Prompts, [this] { Log << QStringLiteral("DoRedraw"); },
                           [this] { Log << QStringLiteral("RedrawSkin"); },
                           [this] { Log << QStringLiteral("RedrawPlaylist"); }};
    int Count(const QString& entry) const { return int(Log.count(entry)); }
};
