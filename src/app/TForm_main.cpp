#include "TForm_main.h"

TForm_main::TForm_main(WindowRegistry& registry, QWidget* parent) : QMainWindow(parent), reg_(registry) {
    reg_.shell = this;
}

TForm_main::~TForm_main() {
    if (reg_.shell == this)
        reg_.shell = nullptr;
}

bool TForm_main::SaveDataFile(const QString&) { return false; }
bool TForm_main::SaveData() { return SaveDataFile(GetDataFileName()); }
void TForm_main::NewDocument() {}
TNoxPigger* TForm_main::FindOrAddChild(TNoxPigger* parent, const std::string& tagName) {
    if (!parent)
        return nullptr;
    if (TNoxPigger* c = parent->FindChild(tagName))
        return c;
    return parent->AddChild(tagName);
}
QString TForm_main::GetDataFileName() { return {}; }
void TForm_main::Activated() {}
bool TForm_main::LoadDataFile() { return true; }
void TForm_main::ShowHelp(const QString&) {}
void TForm_main::FormCreate() {}
