// The batch tool's --json result of a case file, and the comparison of the
// page's numbers with it.
import {spawnSync} from 'node:child_process';

export function batchResult(batch, file) {
  const run = spawnSync(batch, ['--json', file], {encoding: 'utf8', env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}});
  if (run.status !== 0 && run.status !== 1) throw new Error(`${batch} ${file}: exit ${run.status}\n${run.stderr}`);
  return JSON.parse(run.stdout);
}

// Two numbers the same to rounding in the last bits of a double.
export function sameNumber(a, b) {
  if (a === null || b === null) return a === b;
  return Math.abs(a - b) <= 1e-9 * Math.max(1, Math.abs(a), Math.abs(b));
}

export class Checks {
  constructor(name) {
    this.name = name;
    this.failed = 0;
    this.passed = 0;
  }
  check(ok, what) {
    if (ok) {
      ++this.passed;
    } else {
      ++this.failed;
      console.error(`FAILED ${this.name}: ${what}`);
    }
    return ok;
  }
  equal(actual, expected, what) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    return this.check(a === e, `${what}: ${a.slice(0, 400)} instead of ${e.slice(0, 400)}`);
  }
  finish() {
    console.log(`${this.failed ? 'FAILED' : 'passed'}  ${this.name}: ${this.passed} checks, ${this.failed} failed`);
    return this.failed === 0;
  }
}
