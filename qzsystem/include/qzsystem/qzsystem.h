// Everything the host library offers.
#pragma once

#include "qzsystem/autoparameter.h"
#include "qzsystem/dib.h"
#include "qzsystem/document.h"
#include "qzsystem/input.h"
#include "qzsystem/list.h"
#include "qzsystem/lock.h"
#include "qzsystem/menu.h"
#include "qzsystem/object.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"
#include "qzsystem/prefs.h"
#include "qzsystem/registry.h"
#include "qzsystem/resources.h"
#include "qzsystem/taglist.h"
#include "qzsystem/undo.h"
