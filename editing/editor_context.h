// What the editing widgets share with the main window: the open skin (its
// document and the door every change of it goes through), the prompts and
// the inspector's loading guard. The preview repaints from the open skin's
// signals; no widget here asks for a repaint.
#pragma once

#include "open_skin.h"
#include "prompts.h"
#include "skin_document.h"
#include "step_names.h"

#include <functional>

struct TEditorContext {
    TOpenSkin& Skin;
    TPrompts& Prompts;
    // Raised while the program itself fills controls, so that the change
    // handlers write nothing back.
    bool InspectorLoading = false;
    // The open skin's document and history: widgets read the document and
    // change it only by pushing steps through Edits; they reload themselves
    // from what it says changed.
    TSkinDocument& Doc = Skin.Doc();
    TSkinEdits& Edits = Skin.Edits();
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
