// The costs of a save: the cipher, digest, text and clock primitives it is made of.
#include <benchmark/benchmark.h>

#include <cstring>

#include "crypto/aes.h"
#include "crypto/base64.h"
#include "crypto/md5.h"
#include "settings/spool_time.h"

namespace {

// A zero-padded plain-text buffer holding `length` characters, as the writer prepares it.
struct PlainText {
  char bytes[512] = {};
  explicit PlainText(std::size_t length) { std::memset(bytes, 'k', length); }
};

void BM_AesEncryptFixedKey(benchmark::State& state) {
  const PlainText plain(static_cast<std::size_t>(state.range(0)));
  unsigned char out[512];
  for (auto _ : state) {
    jc::my_aes_encrypt(plain.bytes, out, 511);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_AesEncryptFixedKey)->Arg(16)->Arg(32)->Arg(255);

void BM_AesEncryptSpoolKey(benchmark::State& state) {
  const PlainText plain(32);
  const char* spoolTime = "Sun, 6 Dec 2026 15:26:44 +0900";
  unsigned char out[512];
  for (auto _ : state) {
    jc::my_aes_encrypt2(plain.bytes, spoolTime, out, 511);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_AesEncryptSpoolKey);

// Pass code and spool time: the 35-byte text of each digest of a save.
void BM_Md5PassCodeDigest(benchmark::State& state) {
  const char* text = "00123Sun, 6 Dec 2026 15:26:44 +0900";
  char out[33];
  for (auto _ : state) {
    jc::calcMD5(out, text);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_Md5PassCodeDigest);

void BM_Base64Encode256(benchmark::State& state) {
  unsigned char in[256];
  for (int i = 0; i < 256; ++i) in[i] = static_cast<unsigned char>(i);
  char out[512];
  for (auto _ : state) {
    benchmark::DoNotOptimize(jc::Base64encode(out, in, sizeof in));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Base64Encode256);

void BM_GetSpoolTime(benchmark::State& state) {
  char out[32];
  for (auto _ : state) {
    benchmark::DoNotOptimize(jc::GetSpoolTime(out));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GetSpoolTime);

}  // namespace

BENCHMARK_MAIN();
