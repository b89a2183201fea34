#pragma once
// Deliberately wrong: the layer check must refuse Qt in the core.
#include <QObject>
