// The page's WebAssembly module: one web session per page, its requests
// and answers as UTF-8 JSON text (see WebSession).
#include <emscripten/emscripten.h>

#include <string>

#include "web/WebSession.h"

namespace {

// The shipped examples, embedded in the module at this path.
constexpr const char* kExamples = "/examples";

struct Page {
    tavrin::WebSession session{kExamples};
    std::string answer;  // the last answer, read by the page before its next request
};

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void* tavrin_open()
{
    return new Page;
}

// The answer stays valid until the next request of the same page.
EMSCRIPTEN_KEEPALIVE const char* tavrin_request(void* page, const char* request)
{
    Page& p = *static_cast<Page*>(page);
    p.answer = p.session.Handle(request);
    return p.answer.c_str();
}

EMSCRIPTEN_KEEPALIVE void tavrin_close(void* page)
{
    delete static_cast<Page*>(page);
}
}
