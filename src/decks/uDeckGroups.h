#pragma once
// The card-type groups of a deck, indexed by the card type's LAPTIPUS_TECHSORREND: the statistics
// page and the HTML page name their groups from this one table.
#include <QString>
#include <QStringView>

#include <array>

inline constexpr std::array<QStringView, 7> DeckGroupNames = {
    u"",
    u"Vezérek",
    u"Hadak és szörnyetegek",
    u"Tárgyak, ereklyék és fegyverzetek",
    u"Varázslatok és kataklizmák",
    u"Népek és építmények",
    u"Intrikák és manőverek",
};

// The group's name; group 0 and any value outside the table name no group (empty text).
QString DeckGroupName(int group);
