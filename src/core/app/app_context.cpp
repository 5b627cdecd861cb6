#include "core/app/app_context.h"
