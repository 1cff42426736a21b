#pragma once
// The plotting library's header spells Qt's signal and slot sections with the keywords this
// project turns off (the core has members of those names); they are lent to it here only.

#define signals Q_SIGNALS
#define slots Q_SLOTS
#define foreach Q_FOREACH
#include <qcustomplot.h>
#undef signals
#undef slots
#undef foreach
