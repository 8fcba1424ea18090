#pragma once
// Code that uses a system library which loses memory of its own calls this,
// so that the leak checker's list of such libraries is linked in.

namespace plat {

void useLeakSuppressions();

} // namespace plat
