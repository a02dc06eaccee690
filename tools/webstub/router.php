<?php
// Stand-in for the web service, run by PHP's built-in server:
//     KX9_WEBSTUB_STATE=<folder> php -S 127.0.0.1:<port> router.php
// It keeps no state of its own: tests steer it through files in the state folder.
//   files/<path>        served by GET; <path> has its doubled slashes folded ("a/b.txt");
//                       the meters' key files are files/qs4060krtn_vp/hash_keys/<serial>hash.txt
//   auth                "user:password"; downloads then need that Basic authentication
//   faults              lines "<target> <fault> [argument]"; <target> is a folded path or its
//                       last part ("log_user.php"); the faults are listed in lib/stub.php
//   replies/<script>    a literal reply body that a form script sends instead of its own
//   requests/NNNN.json  every request as it arrived, written here for the tests to read
// A form script is one small file in scripts/ returning its reply lines; the table below names
// each script's reply key, which the busy faults need.
require __DIR__ . '/lib/stub.php';

const FORM_SCRIPTS = [
    'log_user.php' => 'RESULT=',
    'send_mail_to_corvanex.php' => 'RESULT=',
    'find_acredia_user.php' => 'RESULT=',
    'add_acredia_user.php' => 'RESULT=',
    'HTTP_find_certif_accredia.php' => 'RESULT=',
    'HTTP_find_certif_date.php' => 'CERT_DATE=',
    'HTTP_find_certif_date_calib.php' => 'CERT_DATE=',
    'HTTP_find_mic_sobst_date.php' => 'MIC_SOBST_DATE=',
    'get_time.php' => 'TIME=',
    'upload_spectr_3band_2018_quater.php' => null,
    'upload_log_file.php' => 'RESULT=',
];

// Scripts whose handler file has a name of its own.
const HANDLER_FILES = [
    'upload_spectr_3band_2018_quater.php' => 'upload_report.php',
];

$stub = new Stub();
$fields = $stub->record();
$path = $stub->requestPath();
$script = basename($path);
$faults = $stub->faults($path);

if (isset($faults['delay'])) {
    usleep(1000 * (int)$faults['delay']);
}
if (isset($faults['redirect'])) {
    http_response_code(302);
    header('Location: ' . $faults['redirect']);
    echo "Moved\n";
    return true;
}
if (isset($faults['status'])) {
    http_response_code((int)$faults['status']);
    echo $stub->read('replies/' . $script) ?? "Error " . (int)$faults['status'] . "\n";
    return true;
}
if (isset($faults['empty'])) {
    return true;
}

if ($_SERVER['REQUEST_METHOD'] === 'GET') {
    $stub->serveDownload($path, $faults);
    return true;
}

if (!array_key_exists($script, FORM_SCRIPTS)) {
    http_response_code(404);
    echo "No script $script\n";
    return true;
}

$literal = $stub->read('replies/' . $script);
if ($literal !== null) {
    $stub->send($literal, $faults);
    return true;
}
$key = FORM_SCRIPTS[$script];
$lines = $stub->busyReply($key, $path, $faults) ?? (require __DIR__ . '/scripts/' . (HANDLER_FILES[$script] ?? $script))($stub, $fields);
$stub->sendLines($lines, $key, $faults);
return true;
