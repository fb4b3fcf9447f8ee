// Every example through the page's WebAssembly module (the web session, as
// the page drives it) against the batch tool's run of the same file: the
// same items, every table as shown, the unknowns X and the final end
// forces.
//   node examples.mjs WEB_DIR BATCH EXAMPLES_DIR
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import {batchResult, Checks, sameNumber} from './compare.mjs';

const [web, batch, examples] = process.argv.slice(2);
const {openCore} = await import(pathToFileURL(path.join(web, 'core.js')));
const wasmBinary = fs.readFileSync(path.join(web, 'tavrin.wasm'));
const checks = new Checks('web module gives the batch tool\'s numbers for every example');

const files = fs.readdirSync(examples).filter((f) => f.endsWith('.json')).sort();
checks.check(files.length >= 10, `${files.length} examples`);
for (const file of files) {
  const expected = batchResult(batch, path.join(examples, file));
  const core = await openCore({wasmBinary});
  const opened = core.request({op: 'open', name: file, text: fs.readFileSync(path.join(examples, file), 'utf8')});
  checks.equal(opened.messages, [], `${file}: opened without a message`);
  core.request({op: 'runAll'});
  const results = core.request({op: 'results'}).results;
  checks.check(results.completed === expected.completed, `${file}: completed`);
  checks.equal(results.items, expected.items, `${file}: items`);
  checks.equal(results.steps, expected.steps, `${file}: tables`);
  checks.check(results.redundants.length === expected.redundants.length &&
               results.redundants.every((x, i) => sameNumber(x, expected.redundants[i])),
               `${file}: X ${results.redundants} instead of ${expected.redundants}`);
  const keys = ['Ni', 'Vi', 'Mi', 'Nj', 'Vj', 'Mj'];
  checks.check(results.elements.length === expected.elements.length &&
               results.elements.every((e, i) => keys.every((k) => sameNumber(e[k], expected.elements[i][k]))),
               `${file}: final end forces`);
}
process.exit(checks.finish() ? 0 : 1);
