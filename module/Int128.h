// A 128-bit integer for the exact money × money products and the amount parser, which
// must see an overflow before it happens. GCC and Clang both have it; __extension__ keeps
// -Wpedantic quiet about it.
#pragma once

namespace simulador {
__extension__ typedef __int128 Int128;
}
