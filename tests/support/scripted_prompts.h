// Answers the editor's questions from a script and records every question
// asked, so that commands can be driven and checked without a screen.
// An empty script answers like a user who cancels (or says No).
#pragma once

#include "prompts.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

class TScriptedPrompts : public TPrompts {
  public:
    // Answers, used front first.
    std::deque<std::optional<QString>> FileNames;
    std::deque<std::optional<QSize>> NewSkinSizes;
    std::deque<std::optional<QString>> Names;
    std::deque<std::optional<TColor>> Colors;
    std::deque<bool> YesNo;
    // An empty script answers "Don't save".
    std::deque<TSaveAnswer> SaveAnswers;

    // What was asked, in order: "AskFileName OpenSkin", "ShowError File not found.", "Beep" ...
    QStringList Asked;
    // The details, for the checks that need more than the log line.
    std::vector<TFileDialog> FileDialogs;
    struct TNameQuestion {
        QString Caption, Prompt, Text;
    };
    std::vector<TNameQuestion> NameQuestions;
    std::vector<TColor> ColorQuestions;
    struct TYesNoQuestion {
        QString Caption, Text;
    };
    std::vector<TYesNoQuestion> YesNoQuestions;
    QStringList Errors;
    QStringList Messages;
    std::vector<QImage> ViewedPictures;
    int Beeps = 0;
    int Abouts = 0;

    std::optional<QString> AskFileName(TFileDialog dialog) override {
        static const char* const names[] = {"OpenSkin", "SaveSkin", "OpenPicture", "SavePicture"};
        Asked << QStringLiteral("AskFileName %1").arg(QLatin1String(names[int(dialog)]));
        FileDialogs.push_back(dialog);
        return Take(FileNames);
    }
    std::optional<QSize> AskNewSkinSize() override {
        Asked << QStringLiteral("AskNewSkinSize");
        return Take(NewSkinSizes);
    }
    std::optional<QString> AskName(const QString& caption, const QString& prompt,
                                   const QString& text) override {
        Asked << QStringLiteral("AskName %1").arg(caption);
        NameQuestions.push_back({caption, prompt, text});
        return Take(Names);
    }
    std::optional<TColor> AskColor(TColor initial) override {
        Asked << QStringLiteral("AskColor %1").arg(initial, 6, 16, QLatin1Char('0'));
        ColorQuestions.push_back(initial);
        return Take(Colors);
    }
    bool AskYesNo(const QString& caption, const QString& text) override {
        Asked << QStringLiteral("AskYesNo %1: %2").arg(caption, text);
        YesNoQuestions.push_back({caption, text});
        if (YesNo.empty()) return false;
        const bool answer = YesNo.front();
        YesNo.pop_front();
        return answer;
    }
    TSaveAnswer AskSaveChanges(const QString& name) override {
        Asked << QStringLiteral("AskSaveChanges %1").arg(name);
        if (SaveAnswers.empty()) return TSaveAnswer::DontSave;
        const TSaveAnswer answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }
    void ShowError(const QString& text) override {
        Asked << QStringLiteral("ShowError %1").arg(text);
        Errors << text;
    }
    void ShowMessage(const QString& text) override {
        Asked << QStringLiteral("ShowMessage %1").arg(text);
        Messages << text;
    }
    void Beep() override {
        Asked << QStringLiteral("Beep");
        ++Beeps;
    }
    void ViewPicture(const QImage& picture) override {
        Asked << QStringLiteral("ViewPicture");
        ViewedPictures.push_back(picture);
    }
    void ShowAbout() override {
        Asked << QStringLiteral("ShowAbout");
        ++Abouts;
    }

  private:
    template <class T> static std::optional<T> Take(std::deque<std::optional<T>>& answers) {
        // Moved out and the slot emptied in place: copying a std::optional<QString>
        // trips GCC 12's maybe-uninitialized at -O2.
        std::optional<T> answer;
        if (!answers.empty()) {
            answer.swap(answers.front());
            answers.pop_front();
        }
        return answer;
    }
};
