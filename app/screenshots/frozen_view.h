#pragma once

#include <QMap>
#include <QString>

#include "ui/animation_clock.h"

class CVtListCtrlEx;

// An animation clock that never moves: the picture keeps the frame it shows until it is woken, so
// a run's picture looks the same in every shot.
class FrozenAnimationClock : public SteadyAnimationClock {
public:
    std::int64_t NowMs() override { return 0; }
    // Only a wake ends the wait (or a day, far beyond any picture's making).
    void WaitMs(std::int64_t) override { SteadyAnimationClock::WaitMs(std::int64_t{24} * 60 * 60 * 1000); }
};

// The lab binds ports of its own choosing; pictures show each server's fixed stand-in port instead.
// Maps the text of each bound port to its stand-in, from the lab's ports line (server name → port).
QMap<QString, QString> StandInPorts(const QMap<QString, int>& bound_ports);

// Replaces what depends on the clock or on the lab's ports in the diagnosis log: every row's time of
// day, every measured time (coloured as a check of that length is), and every port.
void FreezeLogRows(CVtListCtrlEx& list, const QMap<QString, QString>& stand_in_ports);
