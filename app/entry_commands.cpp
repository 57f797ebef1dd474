#include "app/entry_commands.h"

#include "app/search_sort.h"

namespace app {

void runEntryCommand(const EntryCommandTargets& t, catalog::Kind kind, EntryCommand command) {
    EntryActions& entry = t.entryActions;
    WebActions& web = t.webActions;
    switch (command) {
    case EntryCommand::Download:
        return entry.directDownload();
    case EntryCommand::FromPage:
        return entry.downloadFromPage();
    case EntryCommand::Queue:
    case EntryCommand::QueueForce:
        return entry.addToQueue();
    case EntryCommand::CheckInstalled:
        if (t.checkInstalled)
            t.checkInstalled(t.kinds[kind].entries);
        return;
    case EntryCommand::DeveloperPage:
        return web.developerPage();
    case EntryCommand::Alternate:
        return web.alternateDownload(kind);
    case EntryCommand::Support:
        return web.supportLinks(kind);
    case EntryCommand::Screenshots:
        return web.screenshots(kind);
    case EntryCommand::Clipboard:
        return web.linkToClipboard();
    case EntryCommand::Sort:
        return Liste_Sortieren(t.kinds[kind].entries);
    case EntryCommand::Separator:
        return;
    case EntryCommand::Send:
        return web.sendDownloadLink(kind);
    case EntryCommand::Report:
        return web.reportProblem();
    case EntryCommand::Block:
        return entry.blockRequest();
    }
}

void wireEntryCommands(const EntryCommandTargets& targets) {
    for (const KindControls& k : targets.kinds) {
        const catalog::Kind kind = k.kind;
        if (kind == catalog::Kind::Pages) {
            k.downloadButton.Click = [&web = targets.webActions] { web.visitPage(); };
            continue;
        }
        auto runs = [targets, kind](EntryCommand command) {
            return [targets, kind, command] { runEntryCommand(targets, kind, command); };
        };
        k.downloadButton.Click = runs(EntryCommand::Download);
        if (k.fromPageButton)
            k.fromPageButton->Click = runs(EntryCommand::FromPage);
        for (const EntryMenuRow& row : kEntryMenuRows)
            if (forms::MenuItem* item = k.item(row.command))
                if (row.command != EntryCommand::Separator)
                    item->Click = runs(row.command);
    }
}

} // namespace app
