#pragma once
// The streams the module fuzzer plays: the example movies and streams made
// with the format's encoder (every object kind and field, both layouts,
// frames and groups in any order, sounds that are there and that are not,
// frames far over the drawing budget), each then mutated at random: bytes
// changed, blocks dropped, doubled, swapped or spliced in from another
// stream, lengths and header fields made wrong, the end cut off.
#include <cstdint>
#include <random>
#include <vector>

using Bytes = std::vector<uint8_t>;
using Random = std::mt19937;

class StreamMaker {
public:
    // seeds: whole streams to start from, besides the generated ones.
    explicit StreamMaker(std::vector<Bytes> seeds);
    Bytes make(Random& random);

private:
    Bytes generated(Random& random);
    void mutate(Bytes& bytes, Random& random);

    std::vector<Bytes> seeds_;
};
