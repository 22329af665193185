// The dialog framework, all of it: what the application includes.
#pragma once

#include <windows.h>

#include "platform/framework/controls.h"
#include "platform/framework/cstring.h"
#include "platform/framework/data_exchange.h"
#include "platform/framework/dc.h"
#include "platform/framework/dialog.h"
#include "platform/framework/gdi_object.h"
#include "platform/framework/geometry.h"
#include "platform/framework/menu.h"
#include "platform/framework/message_map.h"
#include "platform/framework/tchar_types.h"
#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"
