#pragma once

namespace jt::engine {

// A stretch of work that rewrites tables many times over under sole use (a
// recalculation: a dozen passes, each opening, writing and closing the results
// table) and needs them on the disk only once, at its end.
//
// While a session is alive, a table closed after sole use is written but not synced.
// Before the session first writes a table, it saves the table's whole earlier state
// beside it ("<table>-undo", synced) and holds that file locked; an open in any process
// that finds an undo file nobody holds (its session died with a crash or power cut)
// puts the earlier state back, so the table comes back whole, as it was before the
// session began. When the session ends, every table it wrote is synced and its undo
// file removed. Sessions nest; only the outermost one syncs.
class SyncSession final {
public:
    SyncSession();
    // Ends the session, swallowing a failure (the undo file then stays, so the next
    // open goes back to the earlier state); call finish() to learn of it.
    ~SyncSession();
    SyncSession(const SyncSession&) = delete;
    SyncSession& operator=(const SyncSession&) = delete;

    // Syncs what the session wrote and removes the undo files. Throws EngineError when
    // a sync fails. Does nothing for an inner session or when called twice.
    void finish();

    static bool active();

private:
    bool m_finished = false;
};

} // namespace jt::engine
