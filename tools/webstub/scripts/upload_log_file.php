<?php
// Keeps the log file (uploaded_logs/<name>).
return function (Stub $stub, array $fields): array {
    $file = $_FILES['user_file'] ?? null;
    if (($fields['action'] ?? '') !== 'upload' || $file === null || $file['error'] !== UPLOAD_ERR_OK) {
        return ['RESULT=ERROR'];
    }
    $stub->write('uploaded_logs/' . basename($file['name']), file_get_contents($file['tmp_name']));
    return ['RESULT=OK'];
};
