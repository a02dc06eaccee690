<?php
// State table cert_dates_calib: "serial;date".
return function (Stub $stub, array $fields): array {
    foreach ($stub->table('cert_dates_calib') as $row) {
        if ($row[0] === ($fields['instr_sn'] ?? '')) {
            return ['CERT_DATE=' . ($row[1] ?? '')];
        }
    }
    return ['CERT_DATE=NOT_FOUND'];
};
