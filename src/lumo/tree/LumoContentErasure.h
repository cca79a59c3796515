#pragma once

class IFeedback;
class LumoRDM;

// The bulk deletions of a fixture's content. Each runs on the command worker thread, as a
// step of a larger job: it erases the content on the fixture and, once the fixture has
// taken that, takes the same folders off the fixture's content tree, on the thread the
// device lives in (at once when called there, else queued, as the tree never waits for the
// worker nor the worker for the tree).
class LumoContentErasure {
public:
    // Erases all user content; on success the user group is emptied.
    static bool DeleteAllUserContent(LumoRDM* device, IFeedback* feedback);
    // Erases Quorel folder 251 and every other Quorel folder the tree shows; when all are
    // gone the Quorel group is emptied (its lock lowered only for that).
    static bool DeleteAllQuorelContent(LumoRDM* device, IFeedback* feedback);
};
