// A fuzz target's entry point run on files instead of by libFuzzer: the seed
// corpus and the inputs of past findings replay as ordinary tests in every
// build, the sanitized one included.
// usage: ossmire-fuzz-replay-TARGET FILE...
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    // Every file is read before the first run: the targets change into a
    // scratch directory of their own.
    std::vector<std::vector<uint8_t>> inputs;
    for (int i = 1; i < argc; i++) {
        FILE* f = fopen(argv[i], "rb");
        if (!f) {
            fprintf(stderr, "cannot open %s\n", argv[i]);
            return 1;
        }
        inputs.emplace_back();
        for (int c; (c = fgetc(f)) != EOF;) inputs.back().push_back((uint8_t)c);
        fclose(f);
    }
    for (const std::vector<uint8_t>& bytes : inputs)
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
