#pragma once

#include <QString>
#include <QStringList>

namespace jt::reports {

// What the solo dialog shows: the adjudicators' names, the round titles (the set dance
// last) and the positions selected in the two lists.
struct SoloLists {
    QStringList adjudicators;
    QStringList rounds;
    int adjudicator = 0;
    int round = 0;
};

// The choices of the launch dialogs that last from one showing to the next for the whole
// program run, whatever competition is open. The dialogs show them and write the user's
// choice back; the report runs read them.
struct LaunchChoices {
    bool championship = true; // the winners roster's "Championship includes Recall"
    // The solo dialog's positions last previewed.
    int soloAdjudicator = 0;
    int soloRound = 0;
    // The solo dialog's current showing; its selections are what "Preview" ranks by.
    SoloLists solo;
};

LaunchChoices& launchChoices();

} // namespace jt::reports
