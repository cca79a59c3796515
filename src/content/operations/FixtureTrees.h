#pragma once

class IFeedback;
class LumoRDM;
class LumoRDMContentRoot;

// The content tree of an LED fixture, made (and its reading started) on the fixture's thread
// when it has none yet; callable from an operation's thread.
LumoRDMContentRoot* FixtureTree(LumoRDM* fixture);

// The fixture's tree once all its folders and files have been read; null, with an error line,
// when a listing failed or the reading did not end within two minutes.
LumoRDMContentRoot* ReadFixtureTree(LumoRDM* fixture, IFeedback* feedback);
