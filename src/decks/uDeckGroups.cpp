#include "decks/uDeckGroups.h"

QString DeckGroupName(int group)
{
    if (group < 0 || group >= int(DeckGroupNames.size())) return QString();
    return DeckGroupNames[size_t(group)].toString();
}
