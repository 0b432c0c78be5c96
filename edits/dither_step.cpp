#include "dither_step.h"

#include "dither.h"
#include "item_pictures.h"
#include "record_steps.h"

#include <QHash>

std::vector<TPicture*> ItemPictures(TSkinDocument& doc) {
    std::vector<TPicture*> pictures;
    pictures.reserve(doc.Images.size() + 4 * doc.Buttons.size() + 8 * doc.Wheels.size() +
                     2 * doc.Trackbars.size());
    ForEachItemPicture(doc, [&pictures](TPicture& p) { pictures.push_back(&p); });
    return pictures;
}

TDitherStep::TDitherStep(TSkinDocument& doc, const QString& text) : TEditStep(doc, text) {
    const std::vector<TPicture*> pictures = ItemPictures(doc);
    Before.reserve(pictures.size());
    After.reserve(pictures.size());
    // Slots that share one picture share its result, dithered once and
    // counted once.
    QHash<qint64, QImage> done;
    for (const TPicture* p : pictures) {
        Before.push_back(p->Image);
        const qint64 key = p->Image.cacheKey();
        if (const auto it = done.constFind(key); it != done.constEnd()) {
            After.push_back(*it);
            continue;
        }
        QImage dithered = p->Image; // detaches when written
        DitherPicture(dithered);
        BeforeBytes += UnsharedBytes(p->Image, dithered);
        AfterBytes += UnsharedBytes(dithered, p->Image);
        done.insert(key, dithered);
        After.push_back(std::move(dithered));
    }
    setObsolete(Before.empty()); // nothing to dither: no step
}

void TDitherStep::Put(const std::vector<QImage>& images) {
    const std::vector<TPicture*> pictures = ItemPictures(Doc);
    for (std::size_t i = 0; i < pictures.size() && i < images.size(); ++i)
        pictures[i]->Image = images[i];
}

void TDitherStep::redo() {
    Put(After);
}

void TDitherStep::undo() {
    Put(Before);
}

TEditChange TDitherStep::Change(bool) const {
    TEditChange change;
    change.What = TEditChange::Pictures;
    return change;
}
