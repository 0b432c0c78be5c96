#include "picture_row_icons.h"

#include "drawn_icons.h"

QIcon PictureRowIcon(TPictureAction action) {
    switch (action) {
    case TPictureAction::Open:
        return DrawnIcon(TIconMotif::OpeningFolder);
    case TPictureAction::Save:
        return DrawnIcon(TIconMotif::FloppyDisk);
    case TPictureAction::View:
        break;
    }
    return DrawnIcon(TIconMotif::Landscape);
}
