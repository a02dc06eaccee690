<?php
// Appends the text to the named server-side log (state: server_logs/<log_file>).
return function (Stub $stub, array $fields): array {
    $name = basename((string)($fields['log_file'] ?? ''));
    if ($name === '') {
        return ['RESULT=ERROR: log_file mancante'];
    }
    $stub->write('server_logs/' . $name, ($fields['log_info'] ?? '') . "\n", true);
    return ['RESULT=OK'];
};
