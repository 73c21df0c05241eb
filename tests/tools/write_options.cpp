// Writes a program folder's "Option.dat" for tests of the real program: the
// defaults, with the backup interval given.
//
//   write_options FOLDER BACKUP_INTERVAL_MS
#include <cstdlib>
#include <iostream>

#include "settings/SettingsStore.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_options FOLDER BACKUP_INTERVAL_MS\n";
        return 2;
    }
    tw::OptionData options;
    options.AutoSaveInterval = std::atoi(argv[2]);
    tw::SaveOptionData(argv[1], options);
    return 0;
}
