// "skntool pack --watch DIR OUT.skn": packs the folder, then again whenever
// skin.json or a file it names changes (the folder removed and made again
// too), within a second once they hold still, so that a picture saved in a
// drawing program shows in the editor that has OUT.skn open. Files are known
// by what they are, not how they are spelt. Runs until SIGINT or SIGTERM.
#pragma once

#include <QString>

// Each pack writes OUT through the file layer's save, so a program watching
// it sees one complete rewrite; each failure is printed on standard error
// as pack prints it, and watching goes on. Returns on SIGINT or SIGTERM;
// throws TCliError when the folder cannot be watched.
void WatchAndPack(const QString& dir, const QString& out);
