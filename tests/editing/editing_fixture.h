// A document, scripted answers and logged repaints for driving the editing
// commands without a main window.
#pragma once

#include "editor_context.h"
#include "sample_skin.h"
#include "scripted_prompts.h"

#include <QStringList>

// Log keeps the repaints in order, with whatever else a test records.
struct TEditingFixture {
    TOpenSkin Skin{MakeDefaultSkin()};
    TSkinDocument& Doc = Skin.Doc();
    TScriptedPrompts Prompts;
    QStringList Log;
    int Selected = -1;
    TEditorContext Context{Skin, Prompts, [this] { Log << QStringLiteral("DoRedraw"); },
                           [this] { Log << QStringLiteral("RedrawSkin"); },
                           [this] { Log << QStringLiteral("RedrawPlaylist"); }};
};
