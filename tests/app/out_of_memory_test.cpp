// Running out of memory in a command ends it with the message box.
#include "out_of_memory.h"
#include "scripted_prompts.h"

#include <gtest/gtest.h>

TEST(OutOfMemory, AnEventThatCannotHaveItsMemoryEndsInTheMessageBox) {
    TScriptedPrompts prompts;
    const bool handled =
        DeliverOrReportOutOfMemory(prompts, []() -> bool { throw std::bad_alloc(); });
    EXPECT_FALSE(handled);
    EXPECT_EQ(prompts.Errors, QStringList{QStringLiteral("Out of memory.")});
}

TEST(OutOfMemory, AnEventThatHasItsMemoryIsDeliveredWithoutAWord) {
    TScriptedPrompts prompts;
    EXPECT_TRUE(DeliverOrReportOutOfMemory(prompts, [] { return true; }));
    EXPECT_TRUE(prompts.Errors.isEmpty());
}
