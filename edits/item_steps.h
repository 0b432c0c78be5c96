// Steps that change the item list: an item added, deleted, moved or
// renamed, items pasted. Each keeps what its undo needs (the entry and its
// record, with shared pictures), never a copy of the document.
#pragma once

#include "any_record.h"
#include "edit_step.h"

#include <vector>

// An entry with its record, outside any document.
struct TLooseItem {
    QByteArray Name;
    TAnyRecord Record;
    bool operator==(const TLooseItem&) const = default;
};

// The item at row, or nothing when the entry designates no record.
std::optional<TLooseItem> LooseItemAt(const TSkinDocument& doc, int row);

// An item appended at the end of the list, its record at the end of its array.
class TAddItemStep : public TEditStep {
  public:
    TAddItemStep(TSkinDocument& doc, TLooseItem item, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;
    qint64 HeldBytes(bool undone) const override;

  private:
    TLooseItem Item;
};

class TDeleteItemStep : public TEditStep {
  public:
    TDeleteItemStep(TSkinDocument& doc, int row, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;
    qint64 HeldBytes(bool undone) const override;

  private:
    int Row;
    TDocItem Entry;
    std::optional<TAnyRecord> Record;
};

// Exchanges row `from` with row `to`, its neighbour.
class TMoveItemStep : public TEditStep {
  public:
    TMoveItemStep(TSkinDocument& doc, int from, int to, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;

  private:
    int From, To;
};

class TRenameItemStep : public TEditStep {
  public:
    TRenameItemStep(TSkinDocument& doc, int row, QByteArray name, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;

  private:
    int Row;
    QByteArray Before, After;
};

// Items appended at the end of the list in their order, as Add appends one.
class TPasteItemsStep : public TEditStep {
  public:
    TPasteItemsStep(TSkinDocument& doc, std::vector<TLooseItem> items, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;
    qint64 HeldBytes(bool undone) const override;

  private:
    std::vector<TLooseItem> Items;
};

// The list's entries put in another order (the records stay where they
// are): from[i] is the row whose entry becomes row i.
class TReorderItemsStep : public TEditStep {
  public:
    TReorderItemsStep(TSkinDocument& doc, QList<int> from, const QString& text);
    void redo() override;
    void undo() override;
    TEditChange Change(bool undone) const override;

  private:
    QList<int> From, Back; // Back undoes From
};

// The helpers the steps share: an item put at the end of the document, and
// the last item taken off again.
void AppendItem(TSkinDocument& doc, const TLooseItem& item);
void RemoveLastItem(TSkinDocument& doc);
