// Default options the sanitizer runtimes read at start-up. No recovery: the
// first report ends the run with a failure, leaks included.

#define TAVRIN_SANITIZER_HOOK extern "C" __attribute__((visibility("default"), used)) const char*

TAVRIN_SANITIZER_HOOK __asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:"
           "check_initialization_order=1";
}

TAVRIN_SANITIZER_HOOK __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Leaks inside third-party libraries only (fonts, the window system); a leak
// whose stack passes through our own code is never suppressed here.
TAVRIN_SANITIZER_HOOK __lsan_default_options()
{
    return "suppressions=" TAVRIN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
