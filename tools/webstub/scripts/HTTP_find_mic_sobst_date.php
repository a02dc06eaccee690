<?php
// State table mic_sobst_dates: "serial;date".
return function (Stub $stub, array $fields): array {
    foreach ($stub->table('mic_sobst_dates') as $row) {
        if ($row[0] === ($fields['instr_sn'] ?? '')) {
            return ['MIC_SOBST_DATE=' . ($row[1] ?? '')];
        }
    }
    return ['MIC_SOBST_DATE=NOT_FOUND'];
};
