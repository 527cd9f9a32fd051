// The shipped data/ must pass the checker.
import test from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';

test('data/ passes check.mjs', () => {
  const r = spawnSync(process.execPath, [fileURLToPath(new URL('../check.mjs', import.meta.url))], { encoding: 'utf8' });
  assert.equal(r.status, 0, r.stdout + r.stderr);
  assert.match(r.stdout, /data\/ fine/);
});
