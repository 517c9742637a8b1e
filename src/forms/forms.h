// The form toolkit in one include: the control model, forms, runners and user actions.
#pragma once

#include "forms/control.h"
#include "forms/controls.h"
#include "forms/canvas.h"
#include "forms/dialog.h"
#include "forms/grid.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/runner.h"
#include "forms/scripted_runner.h"
#include "forms/text_metrics.h"
#include "forms/types.h"
#include "forms/user.h"
