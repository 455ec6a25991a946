#pragma once

// The server list models and their proxies, for the window that shows them.
#include "abstractfiltermodel.h"
#include "abstractservermodel.h"
#include "favoritesservermodel.h"
#include "favoritessortfilterproxymodel.h"
#include "locationtreeitem.h"
#include "pingsortfilterproxymodel.h"
#include "serverpingmodel.h"
#include "servertreemodel.h"
#include "treepingsortfilterproxymodel.h"
