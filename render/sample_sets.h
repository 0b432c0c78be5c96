// The sets of values the player's texts can be tried with: "Typical", the
// editor's own samples, and "Longest", the widest value each text type can
// take. In a time or clock value (elapsed, remaining, clock) each "W" stands
// for the face's widest digit at the size of the text that shows it, so one
// set serves texts of every size.
#pragma once

#include "skin_document.h"

#include <QString>
#include <QStringList>

#include <array>

enum class TSampleSet { Typical, Longest };
inline constexpr int SampleSetCount = 2;

// "Typical", "Longest": the sets' captions, in the order of TSampleSet.
const QStringList& SampleSetNames();

// The set's values by text type, as the sample-values panel shows them.
std::array<QString, TextTypeCount> SampleSetValues(TSampleSet set);

// True for the types whose values are times: elapsed, remaining, clock.
bool IsTimeType(int textType);

// The digit of the widest advance in the face at the point size (the first
// of the widest, from "0" to "9"), measured as the text painter measures.
QChar WidestDigit(int pointSize, bool bold);

// The sample as a text of that type, point size and weight shows it: in a
// time or clock value every "W" becomes WidestDigit; any other value as it is.
QString SampleAtSize(int textType, const QString& sample, int pointSize, bool bold);

// The longest value of the type at the size: the "Longest" set's value
// resolved by SampleAtSize.
QString LongestValue(int textType, int pointSize, bool bold);
