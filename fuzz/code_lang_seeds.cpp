// Writes the seed corpus of the code language's fuzz target into the folder
// given as the argument: texts as authors write them (kind 0), and status
// conditions (kind 1) and operations (kind 2) as little-endian fields.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "seed_file.h"

namespace {

std::vector<std::uint8_t> Text(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Fields of a record: each value in its byte count.
std::vector<std::uint8_t> Fields(std::initializer_list<std::pair<std::int64_t, int>> fields)
{
    std::vector<std::uint8_t> out;
    for (const auto& [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const char* const texts[] = {
        "hp = hp + 10",
        "v1 = v1 + 1",
        "S3 = rand(1, 6)",
        "C10 = C10 + S2 * 2",
        "tg.hp = tg.hp - ( power - tg.def )",
        "pl.v2 = my.v2 = 3",
        "v1 = ( v2 + 3 ) * ( v3 % 4 ) / 2",
        "mhp = 10 hp = 40 sight = 7 scrlx = 20",
        "life = life + 1 score = score + 500 time = time - 10",
        "sys.time = rand( (2 * 5) , rand(19,19) )",
        "1 / 0",
        "foo.hp = 1",
    };
    bool ok = true;
    int n = 0;
    for (const char* text : texts)
        ok &= WriteSeed(folder, "text-" + std::to_string(n++), 0, Text(text));
    // HP <= 30 % of the maximum; a variable against a random number.
    ok &= WriteSeed(folder, "cond-percent", 1,
                    Fields({{0, 1},
                            {0, 1},
                            {0, 1},
                            {1, 1},
                            {0, 2},
                            {0, 1},
                            {30, 4},
                            {0, 4},
                            {0, 4},
                            {0, 1},
                            {0, 1},
                            {0, 1},
                            {0, 2},
                            {3, 1},
                            {1, 1}}));
    ok &= WriteSeed(folder, "cond-random", 1,
                    Fields({{1, 1},
                            {1, 1},
                            {0, 1},
                            {0, 1},
                            {4, 2},
                            {1, 1},
                            {0, 4},
                            {9, 4},
                            {3, 4},
                            {0, 1},
                            {0, 1},
                            {0, 1},
                            {0, 2},
                            {2, 1},
                            {0, 1}}));
    // HP + 10 % of the maximum with the gauge; a stage variable x 3.
    ok &= WriteSeed(folder, "op-hp", 2,
                    Fields({{0, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {1, 4},
                            {1, 4},
                            {0, 4},
                            {10, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {1, 4},
                            {1, 4},
                            {0, 4}}));
    ok &= WriteSeed(folder, "op-var", 2,
                    Fields({{1, 4},
                            {1, 4},
                            {5, 4},
                            {0, 4},
                            {0, 4},
                            {3, 4},
                            {2, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {1, 4},
                            {5, 4},
                            {0, 4},
                            {9, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4},
                            {0, 4}}));
    return ok ? 0 : 1;
}
