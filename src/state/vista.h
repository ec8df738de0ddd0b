#pragma once

#include "state/world.h"

namespace morvane {

// The view word of a scenario: the world window's menu ticks and its rounds packed into one float.
float encodeVista(const World& w);

// Unpacks a view word into the menus, Regla, ModoSuma, chkSen and Iteraciones, as the world window
// does when it opens on a loaded world. The option items come from Opciones(1), not from the word.
// Sets w.Vista to x.
void decodeVista(World& w, float x);

// The rounds a view word gives (0 when its fraction is below a twentieth, a word no save writes).
int vistaIteraciones(float x);

// The largest view word a file may hold; every word a save writes stays well below it.
constexpr double kVistaMax = 1048576.0;

}  // namespace morvane
