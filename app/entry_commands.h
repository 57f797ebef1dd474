// What the entry menus' commands and the kinds' download buttons run: each
// command of the entry-menu table is one action, told the kind of the menu
// it was chosen from.
#pragma once

#include "app/entry_actions.h"
#include "app/kinds.h"
#include "app/web_actions.h"

#include <functional>

namespace app {

struct EntryCommandTargets {
    const Kinds& kinds;
    EntryActions& entryActions;
    WebActions& webActions;
    // "Check whether App is installed" for the entry chosen in the list.
    std::function<void(forms::ListBox& entries)> checkInstalled;
};

// Runs one command for a kind's chosen entry.
void runEntryCommand(const EntryCommandTargets& targets, catalog::Kind kind, EntryCommand command);

// Every entry menu's items and every kind's download buttons to their
// commands (the Pages button visits the chosen page).
void wireEntryCommands(const EntryCommandTargets& targets);

} // namespace app
