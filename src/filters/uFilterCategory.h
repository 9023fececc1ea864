#pragma once
// The category codes of stored filters (TFILTERBASE.FB_CATEGORY) and the colour each is drawn in.
#include <QColor>
#include <QString>

inline const QString FC_ALAP = QStringLiteral("00ALAP");
inline const QString FC_USER = QStringLiteral("01USER");
inline const QString FC_KAT = QStringLiteral("02KAT");
inline const QString FC_OSSZ = QStringLiteral("04OSSZ");  // related-card sets
inline const QString FC_TUL = QStringLiteral("05TUL");

// Matched exactly and case-sensitively; any other code (the empty one included) is black.
QColor CategoryColor(const QString& code);
