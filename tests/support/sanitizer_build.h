#pragma once

// Whether the test is built with a sanitizer, which slows it and keeps freed memory: GCC
// says so by a macro, clang by __has_feature.
#if defined(__SANITIZE_THREAD__)
#define PLITON_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define PLITON_UNDER_TSAN 1
#endif
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(PLITON_UNDER_TSAN)
#define PLITON_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLITON_UNDER_SANITIZER 1
#endif
#endif

// How soon a search must stop once cancelled: a few milliseconds, but on a busy machine the
// ended thread may wait that long for a core, and ThreadSanitizer slows the search's checks.
#ifdef PLITON_UNDER_TSAN
inline constexpr long long kPromptStopMs = 2000;
#else
inline constexpr long long kPromptStopMs = 250;
#endif
