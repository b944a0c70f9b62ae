#include "settings/HuffmanCode.h"

#include "settings/LhaFormat.h"

namespace wt::lha {

namespace {

constexpr int kMaxSymbols = 510;

struct TreeBuilder {
    int symbols;
    std::uint32_t freq[2 * kMaxSymbols];
    std::uint16_t left[2 * kMaxSymbols];
    std::uint16_t right[2 * kMaxSymbols];
    int heap[kMaxSymbols + 1];
    int heapSize = 0;
    std::uint16_t leafOrder[kMaxSymbols];  // leaves in the order they leave the heap
    int leafCount = 0;
    std::uint32_t depthCount[kMaxCodeLength + 1] = {};

    // A child replaces the moving entry only when strictly less frequent, and the smaller
    // child is the right one only when strictly less frequent than the left: this fixes
    // which of equal-frequency symbols get the longer codes.
    void SiftDown(int i) {
        const int k = heap[i];
        int j;
        while ((j = 2 * i) <= heapSize) {
            if (j < heapSize && freq[heap[j]] > freq[heap[j + 1]]) ++j;
            if (freq[k] <= freq[heap[j]]) break;
            heap[i] = heap[j];
            i = j;
        }
        heap[i] = k;
    }

    void CountDepths(int node, int depth) {
        if (node < symbols) {
            depthCount[depth < kMaxCodeLength ? depth : kMaxCodeLength]++;
        } else {
            CountDepths(left[node], depth + 1);
            CountDepths(right[node], depth + 1);
        }
    }

    // Depth counts limited to 16: while the code space is overfilled, take a leaf from depth 16
    // and push one leaf of the deepest shorter depth one level down.
    void LimitDepths() {
        std::uint16_t sum = 0;  // 2^16 for a complete code, which wraps to 0
        for (int i = kMaxCodeLength; i > 0; --i)
            sum = static_cast<std::uint16_t>(sum + (depthCount[i] << (kMaxCodeLength - i)));
        while (sum != 0) {
            depthCount[kMaxCodeLength]--;
            for (int i = kMaxCodeLength - 1; i > 0; --i) {
                if (depthCount[i] != 0) {
                    depthCount[i]--;
                    depthCount[i + 1] += 2;
                    break;
                }
            }
            --sum;
        }
    }
};

}  // namespace

int MakeHuffmanCode(int symbols, const std::uint16_t* freqIn, std::uint8_t* lengths, std::uint16_t* codes,
                    std::uint32_t& weight) {
    TreeBuilder b;
    b.symbols = symbols;
    b.heap[1] = 0;
    weight = 0;
    for (int i = 0; i < symbols; ++i) {
        lengths[i] = 0;
        b.freq[i] = freqIn[i];
        weight += freqIn[i];
        if (freqIn[i] != 0) b.heap[++b.heapSize] = i;
    }
    if (b.heapSize < 2) {
        codes[b.heap[1]] = 0;
        return b.heap[1];
    }
    for (int i = b.heapSize / 2; i >= 1; --i) b.SiftDown(i);

    int avail = symbols;
    int node = avail;
    do {
        const int first = b.heap[1];
        if (first < symbols) b.leafOrder[b.leafCount++] = static_cast<std::uint16_t>(first);
        b.heap[1] = b.heap[b.heapSize--];
        b.SiftDown(1);
        const int second = b.heap[1];
        if (second < symbols) b.leafOrder[b.leafCount++] = static_cast<std::uint16_t>(second);
        node = avail++;
        b.freq[node] = b.freq[first] + b.freq[second];
        b.heap[1] = node;
        b.SiftDown(1);
        b.left[node] = static_cast<std::uint16_t>(first);
        b.right[node] = static_cast<std::uint16_t>(second);
    } while (b.heapSize > 1);

    b.CountDepths(node, 0);
    b.LimitDepths();
    int next = 0;
    for (int len = kMaxCodeLength; len > 0; --len) {
        for (std::uint32_t k = 0; k < b.depthCount[len]; ++k) lengths[b.leafOrder[next++]] = static_cast<std::uint8_t>(len);
    }

    // Canonical codes: consecutive values per length, in increasing symbol order.
    std::uint32_t count[kMaxCodeLength + 1] = {};
    for (int i = 0; i < symbols; ++i) count[lengths[i]]++;
    std::uint32_t start[kMaxCodeLength + 2];
    start[1] = 0;
    for (int i = 1; i <= kMaxCodeLength; ++i) start[i + 1] = (start[i] + count[i]) << 1;
    for (int i = 0; i < symbols; ++i) {
        if (lengths[i] != 0) codes[i] = static_cast<std::uint16_t>(start[lengths[i]]++);
    }
    return node;
}

}  // namespace wt::lha
