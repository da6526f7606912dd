// Saves a growing list over and over, with a backup each time, until it is killed. Each state k holds
// items "0" to "k-1", so a reader can tell a complete state from a torn one.
#include "markup/NoxPigger.h"
#include "todo/rules/DataFileSave.h"

#include <QString>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    TNoxPigger doc;
    doc.SetTagName("TODO_DATA");
    TNoxPigger* day = doc.AddChild("DAY_DATA");
    day->SetAttr("DATE", "N/A");
    for (int k = 0;; ++k) {
        TNoxPigger* item = day->AddChild("TASK");
        item->SetAttr("CAPTION", std::to_string(k));
        // A description makes each write large enough to be caught halfway.
        item->AddChild("DSC")->Text = std::string(200 + k % 50, 'x');
        if (!save_data_file(doc, file, true)) return 1;
        if (k == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
