// The two settings instances: current and the options dialog's backup copy.
#include "settings/Settings.h"

TSettings Settings;
TSettings SettingsBackup;
