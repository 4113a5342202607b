// The control classes the main window is built from, gathered in one place.
#pragma once

#include "controls/LED.h"
#include "controls/RichEditP.h"
#include "framework/gui/Action.h"
#include "framework/gui/Application.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/CommonControls.h"
#include "framework/gui/CommonDialogs.h"
#include "framework/gui/Containers.h"
#include "framework/gui/DialogService.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/gui/SpinEdit.h"
#include "framework/gui/TextControls.h"
#include "framework/gui/Timer.h"
#include "framework/gui/TreeView.h"
