// Validates a .glb or .gltf with the Khronos glTF validator; prints the issues and exits 1 when
// the report has errors, 2 when the file cannot be read.
import { readFile } from 'node:fs/promises';
import validator from 'gltf-validator';

const path = process.argv[2];
if (!path) {
    console.error('usage: node validate_gltf.mjs FILE');
    process.exit(2);
}
let bytes;
try {
    bytes = new Uint8Array(await readFile(path));
} catch (error) {
    console.error(`${path}: ${error.message}`);
    process.exit(2);
}
const report = await validator.validateBytes(bytes, { maxIssues: 100 });
const { numErrors, numWarnings, numInfos, messages } = report.issues;
for (const message of messages) {
    console.log(`${message.severity === 0 ? 'error' : 'note'} ${message.code} ${message.pointer ?? ''}: ${message.message}`);
}
console.log(`${path}: ${numErrors} errors, ${numWarnings} warnings, ${numInfos} infos`);
process.exit(numErrors > 0 ? 1 : 0);
