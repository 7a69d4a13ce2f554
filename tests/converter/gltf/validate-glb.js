// node validate-glb.js FILE.glb...: runs the Khronos glTF-Validator on each file, prints its
// messages and ends with status 1 when any file has an error or a warning.
'use strict';
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

async function validate(file) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
        uri: path.basename(file),
        maxIssues: 0,
    });
    const issues = report.issues;
    for (const message of issues.messages) {
        console.log(`${file}: ${message.code} (severity ${message.severity}) ${message.pointer || ''}: ${message.message}`);
    }
    console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
        `${issues.numInfos} infos, ${issues.numHints} hints`);
    return issues.numErrors === 0 && issues.numWarnings === 0;
}

(async () => {
    const files = process.argv.slice(2);
    if (files.length === 0) {
        console.error('usage: node validate-glb.js FILE.glb...');
        process.exit(2);
    }
    let clean = true;
    for (const file of files) {
        clean = (await validate(file)) && clean;
    }
    process.exit(clean ? 0 : 1);
})().catch((error) => {
    console.error(String(error));
    process.exit(1);
});
