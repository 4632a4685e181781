// The DuckDB peer of bench/compare.sh: loads a .qdx file into an in-memory database on two threads
// and runs one workload, keeping its result in the engine as a table.
//
//   node duckdb-peer.mjs WORKLOAD FILE [CHECK]
//
// WORKLOAD is open, sort, pick or duplicates, as compare.sh's. The reader is set for the format:
// `;` between fields, no quote, no escape, every column text, Latin-1 so that every byte comes back
// as it is in the file; a short row's missing fields are empty, a long row's extra ones are left
// out. With CHECK, writes what the result holds, to compare with the other peers: its row count,
// and for sort the sorted names, in the file's bytes.
import { DuckDBInstance } from '@duckdb/node-api';
import { closeSync, openSync, readSync, writeFileSync } from 'node:fs';

const [workload, file, check] = process.argv.slice(2);

// The columns are c0, c1, ... after the fields of the first line, which may hold any byte.
const head = Buffer.alloc(1 << 20);
const fd = openSync(file, 'r');
const got = readSync(fd, head, 0, head.length, 0);
closeSync(fd);
const end = head.subarray(0, got).indexOf(10);
const titles = head.subarray(0, end < 0 ? got : end).toString('latin1').split(';');
const columns = titles.map((_, k) => `'c${k}': 'VARCHAR'`).join(', ');
const source = `read_csv('${file.replaceAll("'", "''")}', delim = ';', quote = '', escape = '',
  header = true, auto_detect = false, columns = {${columns}}, encoding = 'latin-1',
  null_padding = true, strict_mode = false)`;

// The awks fold A to Z only, as the viewer does.
const fold = (c) =>
  `translate(coalesce(${c}, ''), 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')`;
const workloads = {
  open: null,
  sort: `SELECT * FROM t ORDER BY coalesce(c1, '')`,
  pick: `SELECT * FROM t WHERE contains(${fold('c6')}, 'abc')`,
  duplicates: `SELECT * FROM t QUALIFY count(*) OVER (PARTITION BY ${fold('c1')}) > 1`,
};
if (!(workload in workloads)) {
  console.error(`duckdb-peer: no workload ${workload}`);
  process.exit(2);
}

const instance = await DuckDBInstance.create(':memory:', { threads: '2' });
const connection = await instance.connect();
await connection.run(`CREATE TABLE t AS SELECT * FROM ${source}`);
if (workloads[workload])
  await connection.run(`CREATE TABLE result AS ${workloads[workload]}`);

if (check) {
  const table = workloads[workload] ? 'result' : 't';
  const rows = (await connection.runAndReadAll(`SELECT count(*) FROM ${table}`)).getRows();
  let text = `${rows[0][0]}\n`;
  if (workload === 'sort') {
    // A table keeps the order it was made in.
    const names = (await connection.runAndReadAll(`SELECT coalesce(c1, '') FROM result`)).getRows();
    text += names.map((row) => row[0]).join('\n') + '\n';
  }
  writeFileSync(check, Buffer.from(text, 'latin1'));
}
