// Dithering as one step: every item picture before and after, shared with
// the document, so undo puts the very pictures back.
#pragma once

#include "edit_step.h"

#include <vector>

// Every item picture in the dithering order: images, buttons (4 slots),
// wheels (8), trackbars (2), each in array order.
std::vector<TPicture*> ItemPictures(TSkinDocument& doc);

class TDitherStep : public TEditStep {
  public:
    // Dithers copies of the document's pictures; throws std::bad_alloc with
    // the document untouched when their memory cannot be had.
    TDitherStep(TSkinDocument& doc, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;
    qint64 HeldBytes(bool undone) const override { return undone ? AfterBytes : BeforeBytes; }

  private:
    void Put(const std::vector<QImage>& images);
    std::vector<QImage> Before, After;
    qint64 BeforeBytes = 0, AfterBytes = 0;
};
