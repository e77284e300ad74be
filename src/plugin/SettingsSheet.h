#pragma once
// The descriptor's config entry point: the property sheet (config/PropertySheet.h) on the plug-in's
// state, always run from the bar's own message handling, never inside the host's call.

// While the bar runs, asks it to open the sheet (it sets configRequested and calls again); else,
// or when asked by the bar, runs the sheet (once at a time: a second request meanwhile is
// dropped) and saves the settings however it closes. Before init, or after a failed one, the
// settings are read for this call.
void config();
