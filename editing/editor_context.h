// What the editing widgets share with the main window: the one document, the
// door every change of it goes through, the prompts, the repaint entries and
// the inspector's loading guard.
#pragma once

#include "prompts.h"
#include "skin_document.h"
#include "skin_edits.h"
#include "step_names.h"

#include <functional>

struct TEditorContext {
    TSkinDocument& Doc;
    TPrompts& Prompts;
    std::function<void()> DoRedraw;       // the screen of the current mode
    std::function<void()> RedrawSkin;     // the player screen, selected row marked
    std::function<void()> RedrawPlaylist; // the playlist screen
    // Raised while the program itself fills controls, so that the change
    // handlers write nothing back.
    bool InspectorLoading = false;
    // The history: widgets read the document and change it only by pushing
    // steps here; they reload themselves from what it says changed.
    TSkinEdits Edits{Doc};
};

// Raises InspectorLoading for one scope, lowering it on every way out.
class TInspectorLoadingGuard {
  public:
    explicit TInspectorLoadingGuard(TEditorContext& context) : Context(context) {
        Context.InspectorLoading = true;
    }
    ~TInspectorLoadingGuard() { Context.InspectorLoading = false; }
    TInspectorLoadingGuard(const TInspectorLoadingGuard&) = delete;
    TInspectorLoadingGuard& operator=(const TInspectorLoadingGuard&) = delete;

  private:
    TEditorContext& Context;
};
