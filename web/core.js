// The program's core in the page: the WebAssembly module's web session,
// one request at a time, JSON in and JSON out (see src/web/WebSession.h).
import createTavrin from './tavrin.js';

// `options` go to the module: {wasmBinary} where the page's folder cannot
// be fetched from (a test under node).
export async function openCore(options = {}) {
  const module = await createTavrin(options);
  const page = module._tavrin_open();
  return {
    request(request) {
      const text = JSON.stringify(request);
      const size = module.lengthBytesUTF8(text) + 1;
      const buffer = module._malloc(size);
      module.stringToUTF8(text, buffer, size);
      try {
        return JSON.parse(module.UTF8ToString(module._tavrin_request(page, buffer)));
      } finally {
        module._free(buffer);
      }
    },
  };
}
