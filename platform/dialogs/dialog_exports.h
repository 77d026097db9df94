// The dialog library's exports, declared from its table (mscuistf.exports.h), so
// that the definitions must agree with it.
#pragma once

#include "contract/toolkit_api.h"

extern "C" {
#define STF_BYNAME(result, name, parameters, arguments) result STFAPI name parameters;
#include "platform/dialogs/mscuistf.exports.h"
#undef STF_BYNAME
}  // extern "C"
