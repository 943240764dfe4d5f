#include "app/process_state.h"

TextString CommandLineText;
TextString AppCaption;
TextString ModulePath;
TextString SettingsPath;
TextString UpdaterName;
TextString UpdaterProc;

// "ロザニカ アップデータ" in Shift-JIS.
const char DefaultCaption[] =
    "\x83\x8D\x83\x55\x83\x6A\x83\x4A\x20"
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x5E";
